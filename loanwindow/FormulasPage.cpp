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
                           "i = interest rate in percent per period<br>"
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
}
