#include "LoanForm.h"

#include "DateBox.h"
#include "LoanInformationPage.h"
#include "LoanResult.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr NumberKind kKinds[] = {NumberKind::Rate,   NumberKind::Count, NumberKind::Amount, NumberKind::Amount,
                                 NumberKind::Amount, NumberKind::Rate,  NumberKind::Count,  NumberKind::Count};

}  // namespace

LoanForm::LoanForm(LoanInformationPage& page, QObject* parent) : QObject(parent), m_page(page)
{
    m_boxes = {page.txtInterestRate, page.txtTerm, page.txtLoanAmount, page.txtPaymentAmount,
               page.txtFees,         page.txtPoints, page.txtInterestOnly, page.txtBalloonAfter};
    for (int box = 0; box < BoxCount; ++box)
        connect(m_boxes[std::size_t(box)], &QLineEdit::editingFinished, this, [this, box] { read(Box(box)); });
    connect(page.txtLoan, &QLineEdit::textChanged, this, [this](const QString& text) { m_draft.description = text; });
    connect(page.dtStartDate, &DateBox::dateChanged, this, [this](const QDate& date) { m_draft.firstPaymentDate = date; });
    connect(page.cboppt, &QComboBox::currentIndexChanged, this, [this](int index) { m_draft.frequency = index; });
    connect(page.cboTerm, &QComboBox::currentIndexChanged, this, [this](int index) { m_draft.termType = index; });
    connect(page.cboCalculate, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_draft.choice = CalculateChoice(std::max(index, 0)); });
    connect(page.cboCompounding, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_draft.compounding = std::max(index, 0); });
    connect(page.dtLoanDate, &DateBox::dateChanged, this, [this](const QDate& date) { m_draft.loanDate = date; });
    m_draft.firstPaymentDate = page.dtStartDate->date();
    m_draft.frequency = page.cboppt->currentIndex();
    m_draft.termType = page.cboTerm->currentIndex();
}

NumberEntry& LoanForm::entry(Box box)
{
    switch (box) {
    case Rate: return m_draft.interestRate;
    case Term: return m_draft.term;
    case LoanAmount: return m_draft.loanAmount;
    case Fees: return m_draft.fees;
    case Points: return m_draft.points;
    case InterestOnly: return m_draft.interestOnly;
    case BalloonAfter: return m_draft.balloonAfter;
    case PaymentAmount:
    case BoxCount: break;
    }
    return m_draft.paymentAmount;
}

void LoanForm::read(Box box)
{
    const QString text = m_boxes[std::size_t(box)]->text();
    if (text == m_read[std::size_t(box)])
        return;
    m_read[std::size_t(box)] = text;
    entry(box) = readEntry(kKinds[box], text);
}

void LoanForm::show(Box box, double value)
{
    // An optional value of 0 is no value: its box stays blank.
    const bool blank = box >= Fees && value == 0.0;
    const QString text = blank ? QString() : entryText(kKinds[box], value);
    m_boxes[std::size_t(box)]->setText(text);
    m_read[std::size_t(box)] = text;
    entry(box) = blank ? NumberEntry{} : NumberEntry::of(value);
}

const LoanDraft& LoanForm::draft()
{
    for (int box = 0; box < BoxCount; ++box)
        read(Box(box));
    return m_draft;
}

void LoanForm::showNumber(LoanField field, double value)
{
    switch (field) {
    case LoanField::InterestRate: return show(Rate, value);
    case LoanField::Term: return show(Term, value);
    case LoanField::LoanAmount: return show(LoanAmount, value);
    case LoanField::PaymentAmount: return show(PaymentAmount, value);
    case LoanField::Fees: return show(Fees, value);
    case LoanField::Points: return show(Points, value);
    case LoanField::InterestOnly: return show(InterestOnly, value);
    case LoanField::BalloonAfter: return show(BalloonAfter, value);
    default: return;
    }
}

void LoanForm::showRun(const LoanResult& result)
{
    const Loan& loan = result.loan;
    showWholeTerm(loan.term);
    if (result.schedule.solvedRate)
        show(Rate, loan.annualRatePercent);
    show(LoanAmount, loan.loanAmount.value_or(0.0));
    show(PaymentAmount, loan.paymentAmount);
    // The fees as money, like the amounts beside them.
    show(Fees, loan.fees);
}

void LoanForm::showWholeTerm(int term)
{
    if (term > 0)
        show(Term, term);
}

void LoanForm::showChoice(CalculateChoice choice)
{
    m_page.cboCalculate->setCurrentIndex(int(choice));
}
