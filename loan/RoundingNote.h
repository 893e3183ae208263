#pragma once

#include <QString>

namespace engine {
struct SummaryFigures;
}

// The last payment clears the cents rounding has left, and the run counts
// them with the extra payments. Wherever that total is shown, a loan without
// extra payments must not seem to have had some: the part that is rounding
// is named beside the figure.

// "includes $.08 rounding on the last payment", or empty when there is none.
QString lastPaymentRoundingNote(const engine::SummaryFigures& summary);

// The extra payments' total, short enough for a table cell, naming the
// rounding when there is some: "$.08 (last payment rounding)" when it is all
// of it, "$1,000.08 (incl. $.08 rounding)" beside extra payments of the user's.
QString extraPaymentsText(const engine::SummaryFigures& summary);
