#include "FormulasPage.h"

#include "LoanPages.h"

#include <QTabWidget>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>

using namespace LoanPages;

namespace {

// (1 + i) raised to N, the way the formulas write it.
const QString kPower = QStringLiteral("(1 + i)<sup>N</sup>");

QString fraction(const QString& left, const QString& numerator, const QString& denominator)
{
    return QStringLiteral("<table cellspacing='0' cellpadding='1'><tr>"
                          "<td rowspan='2' valign='middle'>%1&nbsp;=&nbsp;</td>"
                          "<td align='center' style='border-bottom: 1px solid black'>%2</td></tr>"
                          "<tr><td align='center'>%3</td></tr></table>")
        .arg(left, numerator, denominator);
}

QLabel* makePicture(const char* name, const QString& html, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setTextFormat(Qt::RichText);
    picture->setText(html);
    picture->setAlignment(Qt::AlignCenter);
    picture->setMargin(4);
    picture->setAutoFillBackground(true);
    QPalette pal = picture->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::WindowText, Qt::black);
    picture->setPalette(pal);
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);
    return picture;
}

// A rule in words, wrapped to the page.
QLabel* makeExplanation(const char* name, const QString& html, QWidget* parent)
{
    auto* label = new QLabel(html, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    return label;
}

}  // namespace

FormulasPage::FormulasPage(QWidget* parent) : page(new QWidget(parent))
{
    auto* layout = new QGridLayout(page);

    const QString bracket = QStringLiteral("[ ") + kPower + QStringLiteral(" - 1 ] / i");
    Picture1 = makePicture(
        "Picture1",
        QStringLiteral("<p align='center'>PV * ") + kPower + QStringLiteral(" = PMT * ") + bracket +
            QStringLiteral("</p><p>PMT = the payment per period<br>"
                           "i = interest rate per period, as a fraction (6 % a year paid monthly is 0.06 / 12 = 0.005)<br>"
                           "PV = loan / mortgage amount<br>"
                           "N = number of periods</p>"),
        page);
    Picture2 = makePicture("Picture2", fraction(QStringLiteral("PMT"), QStringLiteral("PV * ") + kPower, bracket),
                              page);
    Picture3 = makePicture("Picture3", fraction(QStringLiteral("PV"), QStringLiteral("PMT * ") + bracket, kPower),
                              page);

    // Wrapped, so the page fits a window only as wide as its tabs.
    Picture1->setWordWrap(true);
    layout->addWidget(Picture1, 0, 0, 2, 1);
    layout->addWidget(Picture2, 0, 1);
    layout->addWidget(Picture3, 1, 1);

    lblRateChanges = makeExplanation("lblRateChanges", QStringLiteral(
        "<p><b>Rate changes.</b> A new rate applies to every payment due on or after its date, until a later "
        "change; its rate per period i is the annual rate / 100 / payments per year, to 8 decimals, and each "
        "period's interest is i times the balance, to the cent. <i>New payment</i>: at the first payment under the "
        "change, PMT is computed again by the formula above from the balance before that payment (PV) and the "
        "scheduled payments left (N, at least 1), so the loan still ends at its scheduled last payment, which keeps "
        "its rounding correction. <i>Same payment</i>: PMT stays, so a lower rate ends the loan early and a higher "
        "one later; the last payment is what is left plus its interest, and a payment that does not exceed a "
        "period's interest is refused.</p>"
        "<p><b>Solving.</b> <i>Interest rate</i>: the rate at which PV is repaid by PMT over N payments, found "
        "between 0 and PMT / PV a period (where PMT would pay only the interest) by halving that range, with "
        "Newton steps that stay inside it; the rate box shows it with the fewest decimals whose payment is PMT to the cent. <i>Term</i>: "
        "N is the smallest number of payments whose payment, to the cent, is not more than PMT; the last payment "
        "is smaller when PMT is above that payment, and the term box shows the smallest whole term holding N "
        "payments.</p>"),
        page);
    layout->addWidget(lblRateChanges, 2, 0, 1, 2);

    lblShapes = makeExplanation("lblShapes", QStringLiteral(
        "<p><b>Compounding.</b> <i>As payments</i> compounds once a payment, as above. Otherwise the annual rate j "
        "compounds m times a year and i = (1 + j / m)<sup>m / q</sup> - 1 for q payments a year (<i>Continuously</i>: "
        "i = e<sup>j / q</sup> - 1), to 8 decimals for each period's interest; a Canadian mortgage compounds "
        "semi-annually.</p>"
        "<p><b>Accelerated payments.</b> <i>Accelerated Bi-Weekly</i> pays half the monthly payment of the loan every "
        "14 days, <i>Accelerated Weekly</i> a quarter of it every 7 days, each period's interest at the bi-weekly or "
        "weekly rate, until the loan is repaid, well before its term.</p>"
        "<p><b>APR.</b> Amount financed = loan amount - fees - points (a percentage of the loan amount); finance "
        "charge = the payments of the loan without extra payments - the amount financed. The APR is the annual rate "
        "at which the payments, each discounted from its due date to the loan date by the actuarial method, equal "
        "the amount financed, shown to 3 decimals. The loan date is one period before the first payment unless "
        "given.</p>"
        "<p><b>Interest only.</b> The first k payments pay each period's interest and no principal. From payment "
        "k + 1, PMT is computed by the formula from the balance then (PV) and the n - k payments left (N), at the "
        "rate then in force, so the loan ends as scheduled; a rate change or a skip among the interest-only "
        "payments changes only their interest.</p>"
        "<p><b>Balloon.</b> The payments are those of the whole term; payment b pays its interest and the whole "
        "balance before it, and the loan ends there. The balloon is what payment b pays above PMT.</p>"
        "<p><b>Skipped payments.</b> Nothing is paid on a skipped payment: its interest is added to the balance and "
        "shows as the interest, with the principal at minus that interest. After the skip, <i>New payment</i> "
        "computes PMT again from the balance and the scheduled payments left (at least 1), so the loan ends as "
        "scheduled; <i>Same payment</i> keeps PMT, so the loan runs on until the balance is repaid.</p>"
        "<p><b>Lower the payment.</b> An extra payment marked so recasts the loan after the payment it is applied "
        "with: PMT is computed again from the balance after it and the scheduled payments left, so the loan ends as "
        "scheduled with lower payments. The loan without extra payments does not have it.</p>"),
        page);
    layout->addWidget(lblShapes, 3, 0, 1, 2);
}
