#include "frmLoan.h"

#include "BoxLimit.h"
#include "DisplayText.h"
#include "ErrorText.h"
#include "ExtraPaymentRow.h"
#include "Loan.h"
#include "ExtraPaymentsEditor.h"
#include "RateChangesEditor.h"
#include "LoanInformationPage.h"
#include "LoanStore.h"
#include "LocaleText.h"
#include "Messages.h"
#include "NumberedError.h"
#include "StoredAmount.h"
#include "WholeNumbers.h"

#include <QComboBox>
#include "DateBox.h"
#include <QLineEdit>

namespace {

const QString kNullError = QString::fromStdString(engine::invalidUseOfNullError().text());
const QString kBadPropertyError = QString::fromStdString(engine::invalidPropertyValueError().text());
const QString kOverflowError = QString::fromStdString(engine::overflowError().text());

// A stored list position: it must fit 16 bits and lie inside the list.
std::optional<QString> listPositionError(const std::optional<int>& value, int count)
{
    if (!value)
        return kNullError;
    if (!engine::fitsSixteenBits(*value))
        return kOverflowError;
    if (*value < 0 || *value >= count)
        return kBadPropertyError;
    return std::nullopt;
}

// A list's load that stopped: the first row the editor could not show, else
// why the read stopped; none when the list was read and shown whole.
std::optional<QString> listLoadFailure(std::optional<QString> shown, const std::optional<engine::NumberedError>& read)
{
    if (shown)
        return shown;
    if (read)
        return errorText(*read);
    return std::nullopt;
}

}  // namespace

void frmLoan::LoadLoanDetail()
{
    m_loadedRow.clear();
    auto read = m_store.readLoan(m_key);
    if (const auto* error = std::get_if<engine::NumberedError>(&read)) {
        m_partlyLoaded = true;
        if (error->number == engine::ErrorNumber::NoCurrentRecord) {
            // A stale list, or the original reopened after Save As Copy.
            m_loanMissing = true;
            m_messages.warning(this, QStringLiteral("This loan is no longer in the store: another program has deleted "
                                                    "it, so it is not opened."));
            return;
        }
        m_messages.critical(this, errorText(*error));
        return;
    }
    const LoanRecord& record = std::get<LoanRecord>(read);
    m_loadedRow = record.fingerprint;
    auto fail = [this](const QString& text) {
        m_partlyLoaded = true;
        m_messages.critical(this, text);
    };

    if (!record.description) return fail(kNullError);
    const QString& description = *record.description;
    m_loanInformation->txtLoan->setText(description.left(kBoxLength));
    if (description.size() > kBoxLength) {
        // Shown in part like any value that could not be read: the rest of
        // the loan is read, and a save cannot cut the stored description.
        m_partlyLoaded = true;
        m_messages.critical(this, QStringLiteral("The stored description is %1 characters long, more than the %2 "
                                                 "this box holds: the window shows its first %2 characters.")
                                      .arg(QLocale().toString(description.size()), QLocale().toString(kBoxLength)));
    }
    if (!record.origAmount) return fail(kNullError);
    if (!showableAmount(*record.origAmount))
        return fail(kOverflowError + QStringLiteral(": the stored loan amount %1 is larger than %2, the largest "
                                                    "amount this window can show")
                                         .arg(QString::number(*record.origAmount, 'g', 17),
                                              LocaleText::groupedAmount(kLargestStoredAmount)));
    m_loanInformation->txtLoanAmount->setText(LocaleText::plainNumberText(*record.origAmount));
    if (!record.interestRate) return fail(kNullError);
    m_loanInformation->txtInterestRate->setText(LocaleText::plainNumberText(*record.interestRate));
    if (!record.term) return fail(kNullError);
    m_loanInformation->txtTerm->setText(LocaleText::plainNumberText(*record.term));
    if (!record.startDate) return fail(kNullError);
    // The picker would move a date outside its range to the nearest it can
    // show, and a save would then store that date.
    DateBox* start = m_loanInformation->dtStartDate;
    if (*record.startDate < start->minimumDate() || *record.startDate > start->maximumDate())
        return fail(kBadPropertyError + QStringLiteral(": the date of first payment %1 lies outside the dates from "
                                                       "%2 to %3 that this window can show")
                                            .arg(record.startDate->toString(Qt::ISODate),
                                                 start->minimumDate().toString(Qt::ISODate),
                                                 start->maximumDate().toString(Qt::ISODate)));
    start->setDate(*record.startDate);
    if (auto error = listPositionError(record.termType, m_loanInformation->cboTerm->count())) return fail(*error);
    m_loanInformation->cboTerm->setCurrentIndex(*record.termType);
    if (auto error = listPositionError(record.frequency, m_loanInformation->cboppt->count())) return fail(*error);
    m_loanInformation->cboppt->setCurrentIndex(*record.frequency);
    if (auto error = listPositionError(record.calculate, m_loanInformation->cboCalculate->count()))
        return fail(*error);
    m_loanInformation->cboCalculate->setCurrentIndex(*record.calculate);
    // The payment the amount, the rate or the term is found from, again below.
    if (record.payment) {
        if (!showableAmount(*record.payment))
            return fail(kOverflowError + QStringLiteral(": the stored payment %1 is larger than %2, the largest "
                                                        "amount this window can show")
                                             .arg(QString::number(*record.payment, 'g', 17),
                                                  LocaleText::groupedAmount(kLargestStoredAmount)));
        m_loanInformation->txtPaymentAmount->setText(LocaleText::plainNumberText(*record.payment));
    }
}

void frmLoan::LoadExtraPayments()
{
    m_loadedExtras.clear();
    const ExtraPaymentList read = m_store.readExtraPayments(m_key);
    if (auto failure = listLoadFailure(m_editor->loadRecords(read.rows, !read.error), read.error)) {
        m_partlyLoaded = true;
        m_messages.critical(this, *failure);
        return;
    }
    m_loadedExtras = read.fingerprint;
}

void frmLoan::LoadRateChanges()
{
    const RateChangeList read = m_store.readRateChanges(m_key);
    if (auto failure = listLoadFailure(m_rateEditor->loadRecords(read.rows, !read.error), read.error)) {
        m_partlyLoaded = true;
        m_messages.critical(this, *failure);
        return;
    }
    // Only a loan read whole can be compared with what is stored.
    if (!m_loadedExtras.isEmpty())
        m_storedAs = LoanStore::loanFingerprint(m_loadedRow, m_loadedExtras, read.fingerprint);
}

bool frmLoan::SaveLoan(int& mode, int& key)
{
    if (mode != 0 && m_partlyLoaded) {
        // Saving would replace the stored loan with the part of it shown here.
        const QString offer =
            DisplayText::elided(m_loanInformation->txtLoan->text()) +
            QStringLiteral(" - This loan was not read completely from the store, so it is not saved: saving would "
                           "replace the stored loan with only the part shown here.\r\n"
                           "Do you want to save what this window shows as a new loan (Save As Copy) instead?");
        if (m_messages.question(this, offer))
            emit saveAsCopyRequested();
        return false;
    }

    // Every text is converted first: a bad cell stops the save before anything is written.
    const auto converted = loanForSaving(m_loanInformation->inputs());
    if (const auto* error = std::get_if<engine::NumberedError>(&converted)) {
        m_messages.critical(this, errorText(*error));
        return false;
    }
    ::Loan loan = std::get<::Loan>(converted);  // the type, not the member key
    loan.choice = CalculateChoice(m_loanInformation->cboCalculate->currentIndex());
    const std::vector<ExtraPaymentRow>& rows = m_editor->rows();
    const std::vector<RateChangeRow>& rates = m_rateEditor->rows();

    int savedMode = mode;
    int savedKey = key;
    SaveCheck check;
    if (mode != 0)
        check.expected = m_storedAs;
    auto error = m_store.saveLoan(savedMode, savedKey, loan, rows, rates, &check);
    while (error && check.found != StoredLoan::AsExpected) {
        const bool deleted = check.found == StoredLoan::Deleted;
        const QString question =
            DisplayText::elided(m_loanInformation->txtLoan->text()) +
            (deleted ? QStringLiteral(" - Another program has deleted this loan from the store since this window "
                                      "opened or last saved it.\r\nDo you want to save what this window shows as a "
                                      "new loan?")
                     : QStringLiteral(" - Another program has changed this loan in the store since this window "
                                      "opened or last saved it.\r\nDo you want to replace the stored loan with what "
                                      "this window shows?"));
        if (!m_messages.question(this, question))
            return false;
        SaveCheck again;
        if (deleted) {
            savedMode = 0;
            savedKey = 0;
        } else {
            again.expected = check.current;  // asks again if it changes once more meanwhile
        }
        check = again;
        error = m_store.saveLoan(savedMode, savedKey, loan, rows, rates, &check);
    }
    if (error) {
        m_messages.critical(this, errorText(*error));
        return false;
    }
    mode = savedMode;
    key = savedKey;
    m_storedAs = check.saved;
    m_partlyLoaded = false;  // the window now holds exactly what is stored under `key`
    return true;
}

void frmLoan::DeleteLoan(int key)
{
    const QString question =
        DisplayText::elided(m_loanInformation->txtLoan->text().trimmed()) + QStringLiteral(" - Are you sure you wish to delete this loan?");
    if (!m_messages.question(this, question))
        return;
    // A loan that was never stored has nothing in the store; key 0 may name
    // a loan that another program stored.
    if (m_mode != 0) {
        // What another program saved since this window read the loan is
        // deleted only when the user says so (a dismissed box deletes nothing).
        SaveCheck check;
        check.expected = m_storedAs;
        auto error = m_store.deleteLoan(key, &check);
        while (error && check.found == StoredLoan::Changed) {
            if (m_messages.ask(this, QStringLiteral("Another program has changed this loan since this window read "
                                                    "it. Delete it anyway?")) != Messages::Answer::Yes)
                return;
            SaveCheck again;
            again.expected = check.current;  // asks again if it changes once more meanwhile
            check = again;
            error = m_store.deleteLoan(key, &check);
        }
        if (error) {
            m_messages.critical(this, errorText(*error));
            return;
        }
        if (check.found == StoredLoan::Deleted)
            m_messages.information(this, QStringLiteral("This loan was no longer in the store: another program had "
                                                        "already deleted it."));
    }
    markUnchanged();
    closeWithoutPrompt();
}

bool frmLoan::save()
{
    // A failed save has shown its error; the window stays as it was, changed.
    if (!ValidateLoan() || !SaveLoan(m_mode, m_key))
        return false;
    markUnchanged();
    return true;
}

bool frmLoan::saveAsCopy()
{
    if (!ValidateLoan())
        return false;
    const int original = m_key;
    const QString description = this->description();
    const QString caption = windowTitle();
    const bool controlsChanged = IsDataChanged();

    setDescription(QStringLiteral("Copy of ") + description);
    int mode = 0;
    int key = 0;
    if (!SaveLoan(mode, key)) {
        // Nothing was stored: give the window back its own description,
        // caption and changed state.
        setDescription(description);
        setWindowTitle(caption);
        if (!controlsChanged)
            ClearDataChanged();
        return false;
    }
    m_key = key;
    m_mode = mode;
    markUnchanged();

    // A loan that was never stored has nothing to open beside its copy; key
    // 0 may name a loan that another program stored.
    if (original != 0)
        emit copySaved(original);
    return true;
}
