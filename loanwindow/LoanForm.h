#pragma once

#include "Loan.h"

#include <QObject>

#include <array>

struct LoanInformationPage;
struct LoanResult;
class QLineEdit;

// The "Loan Information" boxes as one typed loan (LoanDraft): each number
// box is read into its value once, when the user leaves it or before
// Calculate and Save take the loan; a value the program has (a stored loan,
// a run's figures) is shown by formatting it into its box, never read back.
class LoanForm : public QObject {
    Q_OBJECT
public:
    LoanForm(LoanInformationPage& page, QObject* parent);

    // The loan as the boxes hold it, with anything typed and not yet read taken.
    const LoanDraft& draft();

    // A value the program has (a stored one) in the box of `field`: the
    // interest rate, the term, the loan amount, the payment; the fees, the
    // points, the interest-only payments and the balloon's payment, which
    // leave their box blank for 0.
    void showNumber(LoanField field, double value);
    // What a run found: the whole term, a solved rate, the loan amount and the payment.
    void showRun(const LoanResult& result);
    // The whole term validation found, written back into its box (0: none).
    void showWholeTerm(int term);
    // "Calculate:" set by the program (a stored choice that could not stand).
    void showChoice(CalculateChoice choice);

private:
    enum Box { Rate, Term, LoanAmount, PaymentAmount, Fees, Points, InterestOnly, BalloonAfter, BoxCount };
    void read(Box box);
    void show(Box box, double value);
    NumberEntry& entry(Box box);

    LoanInformationPage& m_page;
    LoanDraft m_draft;
    std::array<QLineEdit*, BoxCount> m_boxes{};
    std::array<QString, BoxCount> m_read;  // each box's text as last read or written
};
