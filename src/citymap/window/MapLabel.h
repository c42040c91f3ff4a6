#pragma once

#include <QString>

// The labels of map points as the map window builds and reads them. A house is
// "[street]{house}", possibly followed by more text in a car's place (an apartment);
// an object put on the map is its name, two spaces and the street, then a space and the
// house number when one is given.
namespace MapLabel {

// A text holding "]{" cut after its first "}"; any other text as it is.
QString cutHouse(const QString& text);
// "[street]{house}"
QString house(const QString& street, const QString& number);
QString object(const QString& name, const QString& street, const QString& number);
// A house label as words for a search: "street house"; any other text as it is.
QString searchWords(const QString& label);

} // namespace MapLabel
