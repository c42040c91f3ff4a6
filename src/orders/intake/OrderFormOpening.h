#pragma once

// How the main window opens the order form: the new order card on its client page, the
// client card page, or the new order card with the unknown client chosen at once.
enum class OrderFormOpening { NewOrderCard, ClientCard, UncodedOrder };
