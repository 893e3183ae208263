#include "ReportExport.h"

#include "CompareReport.h"
#include "LoanReport.h"
#include "LoanResult.h"
#include "LocaleText.h"
#include "Money.h"
#include "YearlyTotals.h"

#include <QDir>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>

#include <functional>

namespace ReportExport {

namespace {

constexpr qsizetype kMaxFileNameLength = 100;
const QMarginsF kMarginsMm(15, 15, 15, 15);

// A field as RFC 4180 wants it: quoted when it holds a quote, a comma, a line
// break or starts with the apostrophe that marks it as text.
QString csvField(const QString& text)
{
    static const QRegularExpression special(QStringLiteral("[\",\r\n]|^'"));
    if (!text.contains(special))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A text the user typed (a description, a caption): one that starts like a
// formula gets a leading apostrophe, so a spreadsheet opening the file shows it
// as text instead of running it. Spreadsheets trim leading spaces first, so
// the formula may stand after them. The program's own numbers never come here.
QString csvText(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    qsizetype first = 0;
    while (first < text.size() && text.at(first).isSpace() && !formulaStarts.contains(text.at(first)))
        ++first;
    if (first < text.size() && formulaStarts.contains(text.at(first)))
        return csvField(QLatin1Char('\'') + text);
    return csvField(text);
}

// Two decimals with a point, no grouping, never "-0.00".
QString plainAmount(double value);

// The first line of a loan's CSV: the description once, not on every line,
// and what the loan costs as lenders state it.
QByteArray loanLine(const LoanResult& result, const QString& description)
{
    const engine::DisclosureFigures& disclosure = result.disclosure;
    return "Loan," + csvText(description).toUtf8() + ",Amount Financed," +
           plainAmount(disclosure.amountFinanced).toLatin1() + ",Finance Charge," +
           plainAmount(disclosure.financeCharge).toLatin1() + ",APR," +
           QByteArray::number(disclosure.annualPercentageRate, 'f', 3) + "\r\n";
}

// Two decimals with a point, no grouping, never "-0.00".
QString plainAmount(double value)
{
    const double cents = engine::roundToCents(value);
    return QString::number(cents == 0.0 ? 0.0 : cents, 'f', 2);
}

// Whole cents the same way: "-1234.56".
QString plainCents(std::int64_t cents)
{
    const std::int64_t whole = (cents < 0 ? -cents : cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(int(whole % 100), 2, 10, QLatin1Char('0'));
}

QString writeError(const QString& path, const QString& reason)
{
    return QStringLiteral("The file \"%1\" could not be written: %2.").arg(QDir::toNativeSeparators(path), reason);
}

// Writes through a temporary file that replaces the target only when whole.
std::optional<QString> writeWhole(const QString& path, const std::function<std::optional<QString>(QSaveFile&)>& fill)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, file.errorString());
    if (auto failure = fill(file)) {
        file.cancelWriting();
        return writeError(path, *failure);
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return std::nullopt;
}

QPageSize localPaperSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

}  // namespace

QPageSize regionPaperSize()
{
    return localPaperSize();
}

QString safeFileBaseName(const QString& description)
{
    QString name;
    name.reserve(std::min(description.size(), kMaxFileNameLength));
    for (const QChar c : description.left(kMaxFileNameLength * 4)) {
        const bool forbidden = c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
                               c.isSpace() || QStringView(u"/\\:*?\"<>|").contains(c);
        name += forbidden ? QChar(u' ') : c;
    }
    // A leading dot would hide the file; a trailing one doubles the suffix's.
    static const QRegularExpression dotsAtEnds(QStringLiteral("^[. ]+|[. ]+$"));
    name = name.simplified().left(kMaxFileNameLength).remove(dotsAtEnds);
    return name.isEmpty() ? QStringLiteral("Loan") : name;
}

QString suggestedFileName(const QString& description, const QString& suffix)
{
    return safeFileBaseName(description) + QLatin1Char('.') + suffix;
}

std::optional<QString> writeTableCsv(const QString& path, const LoanResult& result, const QString& description)
{
    return writeWhole(path, [&](QSaveFile& file) -> std::optional<QString> {
        QByteArray chunk = loanLine(result, description) +
                           "Payment,Date,Principal Current,Principal Extra,Principal Cummulitive,"
                           "Interest Current,Interest Cummulitive,Balance Due\r\n";
        // Written a chunk at a time: the longest loan has 32,767 lines.
        const auto flush = [&] {
            const bool written = file.write(chunk) == chunk.size();
            chunk.clear();
            return written;
        };
        for (const engine::ScheduleRow& row : result.schedule.rows) {
            const QString fields = QString::number(row.number) + u',' +
                                   LocaleText::toQDate(row.dueDate).toString(Qt::ISODate) + u',' +
                                   plainAmount(row.principal) + u',' + plainAmount(row.extra) + u',' +
                                   plainAmount(row.cumulativePrincipal) + u',' + plainAmount(row.interest) +
                                   u',' + plainAmount(row.cumulativeInterest) + u',' + plainAmount(row.balance);
            chunk += fields.toLatin1();
            chunk += "\r\n";
            if (chunk.size() >= (1 << 16) && !flush())
                return file.errorString();
        }
        if (!flush())
            return file.errorString();
        return std::nullopt;
    });
}

namespace {

std::optional<QString> writePdf(const QString& path, const QString& title,
                                const std::function<bool(QPagedPaintDevice&)>& paint)
{
    return writeWhole(path, [&](QSaveFile& file) -> std::optional<QString> {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageSize(localPaperSize());
        writer.setPageMargins(kMarginsMm, QPageLayout::Millimeter);
        writer.setTitle(title.left(1000));
        writer.setCreator(QStringLiteral("Brimvale"));
        if (!paint(writer))
            return QStringLiteral("the report could not be drawn");
        if (file.error() != QFileDevice::NoError)
            return file.errorString();
        return std::nullopt;
    });
}

// Lines of encoded fields (csvField, csvText), each line ended by CRLF.
std::optional<QString> writeCsvLines(const QString& path, const QByteArray& start, const QList<QStringList>& lines)
{
    return writeWhole(path, [&](QSaveFile& file) -> std::optional<QString> {
        QByteArray text = start;
        for (const QStringList& fields : lines)
            text += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
        if (file.write(text) != text.size())
            return file.errorString();
        return std::nullopt;
    });
}

}  // namespace

std::optional<QString> writeReportPdf(const QString& path, const LoanResult& result, const QString& description,
                                      const std::function<bool(int, int)>& progress)
{
    bool stopped = false;
    const auto counted = [&](int done, int pages) {
        stopped = progress && !progress(done, pages);
        return !stopped;
    };
    auto failure = writePdf(path, description, [&](QPagedPaintDevice& device) {
        return LoanReport(result, description).paint(device, counted);
    });
    return stopped ? std::nullopt : failure;
}

std::optional<QString> writeYearlyCsv(const QString& path, const LoanResult& result, const QString& description)
{
    const YearlyTotals totals = yearlyTotals(result.schedule.rows, LocaleText::toYmd(result.today));
    QList<QStringList> lines;
    QStringList heading;
    for (int column = 0; column < kYearlyColumns; ++column)
        heading << csvField(yearlyHeading(YearlyColumn(column)));
    lines << heading;
    const auto line = [&](const QString& year, const YearlyTotal& sums, const QString& balance) {
        lines << QStringList{year,
                             QString::number(sums.payments),
                             plainCents(sums.principalCents),
                             plainCents(sums.extraCents),
                             plainCents(sums.interestCents),
                             plainCents(sums.totalPaidCents()),
                             balance};
    };
    for (const YearlyTotal& year : totals.years)
        line(QString::number(year.year), year, plainCents(year.balanceCents));
    if (!totals.years.empty())
        line(QStringLiteral("Total"), totals.total, QString());
    return writeCsvLines(path, loanLine(result, description), lines);
}

namespace {

// A comparison figure as the table CSV writes its kind: amounts as plain
// decimals, dates in ISO form, counts as whole numbers, so a spreadsheet reads
// numbers and dates, not texts in the user's format.
QString plainComparisonField(const LoanResult& result, CompareRow row, const QString& shown)
{
    const engine::ScheduleResult& run = result.schedule;
    const auto isoDate = [](engine::Date date) { return LocaleText::toQDate(date).toString(Qt::ISODate); };
    switch (row) {
    case CompareRow::LoanAmount: return plainAmount(run.loanAmount);
    case CompareRow::Payment: return plainAmount(run.payment);
    case CompareRow::AnnualRate: return QString::number(result.loan.annualRatePercent, 'g', 15);
    case CompareRow::FirstPayment: return result.loan.firstPaymentDate.toString(Qt::ISODate);
    case CompareRow::PaymentsMade: return QString::number(run.rows.size());
    case CompareRow::PayoffDate: return isoDate(run.adjustedPayoffDate);
    case CompareRow::TotalInterest: return plainAmount(run.summary.interest);
    case CompareRow::ExtraPayments: return plainAmount(run.summary.extraPayments);
    case CompareRow::TotalPaid: return plainAmount(run.summary.totalPaid);
    case CompareRow::InterestSaved: return plainAmount(run.baseline.interestPaid - run.summary.interest);
    case CompareRow::PaymentsSaved: return QString::number(run.paymentsSaved);
    case CompareRow::AmountFinanced: return plainAmount(result.disclosure.amountFinanced);
    case CompareRow::FinanceCharge: return plainAmount(result.disclosure.financeCharge);
    case CompareRow::AnnualPercentageRate: return QString::number(result.disclosure.annualPercentageRate, 'f', 3);
    case CompareRow::Frequency:
    case CompareRow::Term: break;
    }
    return csvField(shown);  // the program's own words ("Monthly", "30 Years")
}

}  // namespace

std::optional<QString> writeComparisonCsv(const QString& path, const std::vector<ComparedLoan>& loans)
{
    const std::vector<ComparisonColumn> columns = compareLoans(loans);
    QList<QStringList> lines;
    QStringList heading{QString()};
    for (const ComparisonColumn& column : columns)
        heading << csvText(column.caption);
    lines << heading;
    for (int row = 0; row < kCompareRows; ++row) {
        QStringList fields{csvField(compareRowHeading(CompareRow(row)))};
        for (std::size_t i = 0; i < columns.size(); ++i)
            fields << (loans[i].result ? plainComparisonField(*loans[i].result, CompareRow(row), columns[i].texts[size_t(row)])
                                       : csvField(columns[i].texts[size_t(row)]));
        lines << fields;
    }
    return writeCsvLines(path, {}, lines);
}

std::optional<QString> writeComparisonPdf(const QString& path, const std::vector<ComparedLoan>& loans)
{
    return writePdf(path, QStringLiteral("Compare Loans"),
                    [&](QPagedPaintDevice& device) { return CompareReport(loans).paint(device); });
}

void setUpPrinter(QPrinter& printer, const QString& description)
{
    // Printing to a file suggests the document name as the file's name.
    printer.setDocName(safeFileBaseName(description));
    // A real printer keeps the paper it holds; without one (printing to a file,
    // the preview on a machine with no printer) the paper is the region's, the
    // same the PDF export writes, so the preview shows the PDF's pages.
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        printer.setPageSize(localPaperSize());
    printer.setPageMargins(kMarginsMm, QPageLayout::Millimeter);
}

}  // namespace ReportExport
