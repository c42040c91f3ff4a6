#pragma once

class TDANI;

// Reopens the drivers list at once with its filter and order clauses, at its
// remembered row: the filter and the sort change it without waiting for a refresh.
// Throws DbError.
void ReopenDriversList(TDANI& dani);
