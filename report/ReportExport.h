#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPageSize;
class QPrinter;
struct ComparedLoan;
struct LoanResult;

// Taking a calculated loan out of the program: the table as CSV, the report as
// PDF or on a printer. Files are written whole or not at all: the text goes to
// a temporary file beside the target, which replaces the target only once
// complete. Failures come back as a message for the user.
namespace ReportExport {

// The description as a file name ("Car loan"): characters no file name can
// hold become spaces, and an empty result becomes "Loan".
QString safeFileBaseName(const QString& description);
// The same with the suffix ("Car loan.csv").
QString suggestedFileName(const QString& description, const QString& suffix);

// The table as RFC 4180 CSV in UTF-8 with CRLF line ends: the line "Loan,"
// and the loan's description, a heading line, then per payment its number,
// due date (ISO) and the six amounts as plain decimals with a point. A
// description or caption that starts like a formula (=, +, -, @, tab, carriage
// return; after spaces too) is written with a leading apostrophe, so
// spreadsheets show it as text.
std::optional<QString> writeTableCsv(const QString& path, const LoanResult& result, const QString& description);
// The totals of each year the same way: the description's line, a heading
// line, then per year its number, the count of payments, principal, extra,
// interest, total paid and the balance due, then the "Total" line (its balance
// empty).
std::optional<QString> writeYearlyCsv(const QString& path, const LoanResult& result, const QString& description);
// The report as PDF; `progress` hears of each page (see LoanReport) and may
// stop the writing, which then leaves no file and no message.
std::optional<QString> writeReportPdf(const QString& path, const LoanResult& result, const QString& description,
                                      const std::function<bool(int done, int pages)>& progress = {});
// The report's document name, margins and paper, before the print dialog
// shows: a printer's own paper, else the region's (Letter where the locale
// measures in inches, A4 elsewhere), as the PDF export uses.
void setUpPrinter(QPrinter& printer, const QString& description);
// The region's paper: Letter where QLocale() measures in inches (US), A4 elsewhere.
QPageSize regionPaperSize();

// The comparison of the open loans: as CSV, a heading line (an empty field,
// then each loan's caption) and one line per figure, its heading first, the
// figures written like the table CSV's (plain decimals, ISO dates, whole
// counts; the frequency and term as their words); as a PDF, the comparison report.
std::optional<QString> writeComparisonCsv(const QString& path, const std::vector<ComparedLoan>& loans);
std::optional<QString> writeComparisonPdf(const QString& path, const std::vector<ComparedLoan>& loans);

}  // namespace ReportExport
