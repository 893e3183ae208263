#include "frmLoan.h"

#include "DescriptionBox.h"
#include "DisplayText.h"
#include "ExtraPaymentsEditor.h"
#include "LoanStore.h"
#include "LocaleText.h"
#include "Messages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace {

const QString kNullError = QStringLiteral("94 - Invalid use of Null");
const QString kBadPropertyError = QStringLiteral("380 - Invalid property value");
const QString kOverflowError = QStringLiteral("6 - Overflow");

// A stored list position: it must fit 16 bits and lie inside the list.
std::optional<QString> listPositionError(const std::optional<int>& value, int count)
{
    if (!value)
        return kNullError;
    if (*value < -32768 || *value > 32767)
        return kOverflowError;
    if (*value < 0 || *value >= count)
        return kBadPropertyError;
    return std::nullopt;
}

}  // namespace

void frmLoan::LoadLoanDetail()
{
    auto read = m_store.readLoan(Loan);
    if (const auto* error = std::get_if<StoreError>(&read)) {
        m_messages.critical(this, error->text());
        return;
    }
    const LoanRecord& record = std::get<LoanRecord>(read);
    auto fail = [this](const QString& text) { m_messages.critical(this, text); };

    if (!record.description) return fail(kNullError);
    m_ui->txtLoan->setWholeText(*record.description);
    if (!record.origAmount) return fail(kNullError);
    m_ui->txtLoanAmount->setText(*record.origAmount);
    if (!record.interestRate) return fail(kNullError);
    m_ui->txtInterestRate->setText(*record.interestRate);
    if (!record.term) return fail(kNullError);
    m_ui->txtTerm->setText(*record.term);
    if (!record.startDate) return fail(kNullError);
    m_ui->dtStartDate->setDate(*record.startDate);
    if (auto error = listPositionError(record.termType, m_ui->cboTerm->count())) return fail(*error);
    m_ui->cboTerm->setCurrentIndex(*record.termType);
    if (auto error = listPositionError(record.frequency, m_ui->cboppt->count())) return fail(*error);
    m_ui->cboppt->setCurrentIndex(*record.frequency);
}

void frmLoan::LoadExtraPayments()
{
    auto read = m_store.readExtraPayments(Loan);
    if (const auto* error = std::get_if<StoreError>(&read)) {
        m_messages.critical(this, error->text());
        return;
    }
    if (auto error = m_ui->editor->loadRecords(std::get<std::vector<ExtraPaymentRecord>>(read)))
        m_messages.critical(this, *error);
}

bool frmLoan::SaveLoan(int& mode, int& key)
{
    LoanRecordTexts loan;
    loan.description = m_ui->txtLoan->text();
    loan.startDate = m_ui->dtStartDate->date();
    loan.origAmount = m_ui->txtLoanAmount->text();
    loan.paymentAmount = m_ui->txtPaymentAmount->text();
    loan.interestRate = m_ui->txtInterestRate->text();
    loan.term = m_ui->txtTerm->text();
    loan.termType = m_ui->cboTerm->currentIndex();
    loan.frequency = m_ui->cboppt->currentIndex();

    if (auto error = m_store.saveLoan(mode, key, loan, m_ui->editor->rows())) {
        m_messages.critical(this, error->text());
        return false;
    }
    return true;
}

void frmLoan::DeleteLoan(int key)
{
    const QString question =
        DisplayText::elided(m_ui->txtLoan->text().trimmed()) + QStringLiteral(" - Are you sure you wish to delete this loan?");
    if (!m_messages.question(this, question))
        return;
    if (auto error = m_store.deleteLoan(key)) {
        m_messages.critical(this, error->text());
        return;
    }
    ClearDataChanged();
    DataHasChanged = false;
    closeWithoutPrompt();
}
