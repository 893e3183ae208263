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

// The extra payments' total with the note in brackets when there is one:
// "$.08 (includes $.08 rounding on the last payment)".
QString extraPaymentsText(const engine::SummaryFigures& summary);
