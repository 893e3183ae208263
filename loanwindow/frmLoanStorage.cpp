#include "frmLoan.h"

#include "BoxLimit.h"
#include "CalculateLoan.h"
#include "DateBox.h"
#include "DisplayText.h"
#include "ErrorText.h"
#include "ExtraPaymentsModel.h"
#include "ExtraPaymentsPage.h"
#include "LoanForm.h"
#include "LoanInformationPage.h"
#include "LoanStore.h"
#include "LocaleText.h"
#include "Messages.h"
#include "Money.h"
#include "RateChangesModel.h"
#include "RateChangesPage.h"
#include "RowEditor.h"
#include "SkippedPaymentsModel.h"
#include "SkippedPaymentsPage.h"
#include "WholeNumbers.h"

#include <QComboBox>
#include <QLineEdit>

#include <cmath>

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

// A stored amount larger than any the window takes (its cents would no
// longer survive into the box): refused like any value that cannot be shown.
std::optional<QString> amountError(const std::optional<double>& amount, const QString& what)
{
    if (!amount)
        return kNullError;
    if (std::fabs(*amount) > kLargestAmount)
        return kOverflowError + QStringLiteral(": the stored %1 %2 is larger than %3, the largest amount this window "
                                               "can show")
                                    .arg(what, QString::number(*amount, 'g', 17), LocaleText::groupedAmount(kLargestAmount));
    return std::nullopt;
}

// Stored extra payments as rows; the first that cannot be shown stops them.
std::optional<QString> extraPaymentRows(const std::vector<ExtraPaymentRecord>& records,
                                        std::vector<ExtraPaymentRow>& rows)
{
    for (const ExtraPaymentRecord& record : records) {
        if (rows.size() >= std::size_t(engine::kSixteenBitMax))
            return kOverflowError;
        const bool lumpSum = record.kind == engine::ExtraPaymentKind::LumpSum;
        if (!record.start || (!lumpSum && !record.stop))
            return kNullError;
        if (auto error = amountError(record.amount, QStringLiteral("amount of extra payment %1").arg(rows.size() + 1)))
            return error;
        // As the table shows it: to the cent, the money's unit.
        if (record.then != 0 && record.then != 1)
            return kBadPropertyError + QStringLiteral(": extra payment %1 is stored with the effect %2, which this "
                                                      "program does not know")
                                           .arg(rows.size() + 1)
                                           .arg(record.then);
        rows.push_back({record.kind, *record.start, lumpSum ? std::nullopt : record.stop,
                        engine::roundToCents(*record.amount), engine::ExtraPaymentThen(record.then)});
    }
    return std::nullopt;
}

// Stored rate changes as rows; the first that cannot be used stops them.
std::optional<QString> rateChangeRows(const std::vector<RateChangeRecord>& records, std::vector<RateChangeRow>& rows)
{
    for (const RateChangeRecord& record : records) {
        if (!record.from || !record.annualPercent || !record.mode)
            return kNullError;
        if (*record.mode != 0 && *record.mode != 1)
            return kBadPropertyError + QStringLiteral(": rate change %1 is stored with the payment rule %2, which this "
                                                      "program does not know")
                                           .arg(rows.size() + 1)
                                           .arg(*record.mode);
        rows.push_back({*record.from, *record.annualPercent, engine::RateChangeMode(*record.mode)});
    }
    // A stored date or rate a typed one could not be (a negative rate, say).
    if (const auto problem = rateChangeRowsProblem(rows)) {
        rows.resize(std::size_t(problem->row));
        return kBadPropertyError + QStringLiteral(": ") + problem->message;
    }
    return std::nullopt;
}

// Stored skips as rows; the first that cannot be used stops them.
std::optional<QString> skippedPaymentRows(const std::vector<SkippedPaymentRecord>& records,
                                          std::vector<SkippedPaymentRow>& rows)
{
    for (const SkippedPaymentRecord& record : records) {
        if (!record.from || !record.count || !record.mode)
            return kNullError;
        if (*record.count < 1 || !engine::fitsSixteenBits(*record.count))
            return kBadPropertyError + QStringLiteral(": skip %1 is stored with %2 payments; a skip has 1 or more")
                                           .arg(rows.size() + 1)
                                           .arg(*record.count);
        if (*record.mode != 0 && *record.mode != 1)
            return kBadPropertyError + QStringLiteral(": skip %1 is stored with the payment rule %2, which this "
                                                      "program does not know")
                                           .arg(rows.size() + 1)
                                           .arg(*record.mode);
        rows.push_back({*record.from, *record.count, engine::RateChangeMode(*record.mode)});
    }
    return std::nullopt;
}

}  // namespace

void frmLoan::loadFailed(const QString& text)
{
    m_partlyLoaded = true;
    m_messages.critical(this, text);
}

void frmLoan::loadLoan()
{
    m_loadedRow.clear();
    auto read = m_store.readLoan(m_key);
    if (const auto* error = std::get_if<engine::NumberedError>(&read)) {
        if (error->number == engine::ErrorNumber::NoCurrentRecord) {
            // A stale list, or the original reopened after Save As Copy.
            m_partlyLoaded = m_loanMissing = true;
            m_messages.warning(this, QStringLiteral("This loan is no longer in the store: another program has deleted "
                                                    "it, so it is not opened."));
            return;
        }
        return loadFailed(errorText(*error));
    }
    const LoanRecord& record = std::get<LoanRecord>(read);
    m_loadedRow = record.fingerprint;
    LoanInformationPage& page = *m_loanInformation;

    // Each value in its box in turn; the first that cannot be shown stops the
    // load there, and the boxes after it keep what they held.
    if (!record.description)
        return loadFailed(kNullError);
    const QString& description = *record.description;
    page.txtLoan->setText(description.left(kBoxLength));
    if (description.size() > kBoxLength)
        // Shown in part like any value that could not be read: the rest of
        // the loan is read, and a save cannot cut the stored description.
        loadFailed(QStringLiteral("The stored description is %1 characters long, more than the %2 this box holds: the "
                                  "window shows its first %2 characters.")
                       .arg(QLocale().toString(description.size()), QLocale().toString(kBoxLength)));
    if (auto error = amountError(record.origAmount, QStringLiteral("loan amount")))
        return loadFailed(*error);
    m_form->showNumber(LoanField::LoanAmount, engine::roundToCents(*record.origAmount));
    if (!record.interestRate)
        return loadFailed(kNullError);
    m_form->showNumber(LoanField::InterestRate, *record.interestRate);
    if (!record.term)
        return loadFailed(kNullError);
    const double term = *record.term;
    m_form->showNumber(LoanField::Term, engine::roundHalfEven(term));
    if (term != std::floor(term))
        // The window holds whole terms: a save would store another one.
        loadFailed(kBadPropertyError + QStringLiteral(": the stored term %1 is not a whole number; the window shows "
                                                      "%2, and this loan cannot be saved over")
                                           .arg(LocaleText::plainNumberText(term),
                                                LocaleText::plainNumberText(engine::roundHalfEven(term))));
    m_stored = StoredFigures{engine::roundToCents(*record.origAmount), *record.interestRate, term};
    if (!record.startDate)
        return loadFailed(kNullError);
    // The box would move a date outside its range to the nearest it can
    // show, and a save would then store that date.
    DateBox* start = page.dtStartDate;
    if (*record.startDate < start->minimumDate() || *record.startDate > start->maximumDate())
        return loadFailed(kBadPropertyError + QStringLiteral(": the date of first payment %1 lies outside the dates "
                                                             "from %2 to %3 that this window can show")
                                                  .arg(record.startDate->toString(Qt::ISODate),
                                                       start->minimumDate().toString(Qt::ISODate),
                                                       start->maximumDate().toString(Qt::ISODate)));
    start->setDate(*record.startDate);
    if (auto error = listPositionError(record.termType, page.cboTerm->count()))
        return loadFailed(*error);
    page.cboTerm->setCurrentIndex(*record.termType);
    if (auto error = listPositionError(record.frequency, page.cboppt->count()))
        return loadFailed(*error);
    page.cboppt->setCurrentIndex(*record.frequency);
    if (auto error = listPositionError(record.calculate, kCalculateChoices))
        return loadFailed(*error);
    m_form->showChoice(CalculateChoice(*record.calculate));
    // The payment the amount, the rate or the term is found from.
    if (record.payment) {
        if (auto error = amountError(record.payment, QStringLiteral("payment")))
            return loadFailed(*error);
        m_form->showNumber(LoanField::PaymentAmount, *record.payment);
    }
    // The optional values, NULL as none.
    if (!record.unusable.isEmpty())
        return loadFailed(errorText({engine::ErrorNumber::TypeMismatch,
                                     QStringLiteral("Type mismatch: the stored %1 of this loan is not a number or a date")
                                         .arg(record.unusable.join(QStringLiteral(", ")))
                                         .toStdString()}));
    if (record.compounding) {
        if (auto error = listPositionError(record.compounding, page.cboCompounding->count()))
            return loadFailed(*error);
        page.cboCompounding->setCurrentIndex(*record.compounding);
    }
    if (record.fees) {
        if (auto error = amountError(record.fees, QStringLiteral("fees")))
            return loadFailed(*error);
        m_form->showNumber(LoanField::Fees, engine::roundToCents(*record.fees));
    }
    if (record.points)
        m_form->showNumber(LoanField::Points, *record.points);
    if (record.loanDate)
        page.dtLoanDate->setDate(*record.loanDate);
    if (record.interestOnly)
        m_form->showNumber(LoanField::InterestOnly, *record.interestOnly);
    if (record.balloonAfter)
        m_form->showNumber(LoanField::BalloonAfter, *record.balloonAfter);
}

void frmLoan::loadRows()
{
    // Each table shows the rows read before a failure, which is said once
    // and stops the reading.
    const auto show = [this](const auto& list, const auto& rowsOf, auto* model, RowEditor* editor) {
        std::decay_t<decltype(model->rows())> rows;
        auto failure = rowsOf(list.rows, rows);
        model->setRows(std::move(rows));
        editor->reset();
        if (!failure && list.error)
            failure = errorText(*list.error);
        if (failure)
            loadFailed(*failure);
        return !failure;
    };
    const ExtraPaymentList extras = m_store.readExtraPayments(m_key);
    if (!show(extras, extraPaymentRows, m_extraPayments->payments, m_extraPayments->editor))
        return;
    const RateChangeList rates = m_store.readRateChanges(m_key);
    if (!show(rates, rateChangeRows, m_rateChanges->rateChanges, m_rateChanges->editor))
        return;
    const SkippedPaymentList skips = m_store.readSkippedPayments(m_key);
    if (!show(skips, skippedPaymentRows, m_skippedPayments->skippedPayments, m_skippedPayments->editor))
        return;
    // Only a loan read whole can be compared with what is stored.
    if (!m_partlyLoaded)
        m_storedAs = LoanStore::loanFingerprint(m_loadedRow, extras.fingerprint, rates.fingerprint, skips.fingerprint);
}

void frmLoan::checkStoredChoice()
{
    const ::Loan& found = m_lastResult->loan;
    if (!m_stored || found.choice == CalculateChoice::Payment)
        return;
    // What the run found from the stored payment must be what was stored
    // with it; an older program that saved the amount alone leaves them apart.
    const StoredFigures stored = *m_stored;
    if (found.loanAmount == stored.loanAmount && found.annualRatePercent == stored.annualRatePercent &&
        found.term == stored.term)
        return;
    m_messages.warning(this, QStringLiteral("The stored payment of %1 does not give the stored loan amount of %2 (an "
                                            "older version of the program may have changed the loan): the loan "
                                            "amount stands, and Calculate is set to Payment.")
                                 .arg(LocaleText::currencyText(found.paymentAmount),
                                      LocaleText::currencyText(stored.loanAmount)));
    m_form->showChoice(CalculateChoice::Payment);
    m_form->showNumber(LoanField::LoanAmount, stored.loanAmount);
    m_form->showNumber(LoanField::InterestRate, stored.annualRatePercent);
    m_form->showNumber(LoanField::Term, stored.term);
    CalculateSchedule();
}

bool frmLoan::SaveLoan(const ::Loan& typed, int& mode, int& key)
{
    if (mode != 0 && m_partlyLoaded) {
        // Saving would replace the stored loan with the part of it shown here.
        const QString offer =
            DisplayText::elided(description()) +
            QStringLiteral(" - This loan was not read completely from the store, so it is not saved: saving would "
                           "replace the stored loan with only the part shown here.\r\n"
                           "Do you want to save what this window shows as a new loan (Save As Copy) instead?");
        if (m_messages.question(this, offer))
            emit saveAsCopyRequested();
        return false;
    }
    const auto converted = loanForSaving(typed);
    if (const auto* error = std::get_if<engine::NumberedError>(&converted)) {
        m_messages.critical(this, errorText(*error));
        return false;
    }
    const ::Loan& loan = std::get<::Loan>(converted);
    const LoanRows loanRows = rows();

    int savedMode = mode;
    int savedKey = key;
    SaveCheck check;
    if (mode != 0)
        check.expected = m_storedAs;
    auto error = m_store.saveLoan(savedMode, savedKey, loan, loanRows, &check);
    while (error && check.found != StoredLoan::AsExpected) {
        const bool deleted = check.found == StoredLoan::Deleted;
        const QString question =
            DisplayText::elided(description()) +
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
        error = m_store.saveLoan(savedMode, savedKey, loan, loanRows, &check);
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
        DisplayText::elided(description().trimmed()) + QStringLiteral(" - Are you sure you wish to delete this loan?");
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
    const auto loan = validated();
    if (!loan || !SaveLoan(*loan, m_mode, m_key))
        return false;
    markUnchanged();
    return true;
}

bool frmLoan::saveAsCopy()
{
    auto loan = validated();
    if (!loan)
        return false;
    const int original = m_key;
    const QString description = this->description();
    const bool wasChanged = isWindowModified();

    setDescription(QStringLiteral("Copy of ") + description);
    loan->description = this->description();
    int mode = 0;
    int key = 0;
    if (!SaveLoan(*loan, mode, key)) {
        // Nothing was stored: the window gets back its own description and state.
        setDescription(description);
        setWindowModified(wasChanged);
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
