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

    layout->addWidget(Picture1, 0, 0, 2, 1);
    layout->addWidget(Picture2, 0, 1);
    layout->addWidget(Picture3, 1, 1);

    lblRateChanges = new QLabel(page);
    lblRateChanges->setObjectName(QStringLiteral("lblRateChanges"));
    lblRateChanges->setWordWrap(true);
    lblRateChanges->setTextFormat(Qt::RichText);
    lblRateChanges->setText(QStringLiteral(
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
        "payments.</p>"));
    layout->addWidget(lblRateChanges, 2, 0, 1, 2);
}
