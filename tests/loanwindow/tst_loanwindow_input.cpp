// Hostile input at the loan window: megabyte pastes however they come, a box
// typed past what it holds, free text in the description. Each ends in a
// message or is kept whole; the window stays usable and nothing stored changes.
#include "BoxLimit.h"
#include "LoanWindowHarness.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

namespace {

const QString kTooLong = QStringLiteral("The text is too long for this box, which holds at most 1,000 characters; "
                                        "nothing was added.");

// Puts `text` into a box the way `how` names: a key, the context menu, a drop.
void insertFromOutside(QLineEdit* box, const QString& how, const QString& text)
{
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    if (how == "key") {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(box, QKeySequence::Paste);
    } else if (how == "menu") {
        QGuiApplication::clipboard()->setText(text);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions())
            if (action->text().startsWith("&Paste")) {
                menu->close();  // as a menu does before it triggers the chosen action
                action->trigger();
            }
    } else {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
    }
    QApplication::processEvents();
}

}  // namespace

class tst_LoanWindowInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { pinUnitedStates(); }

    // Text that would make a box longer than it holds is refused whole, with
    // its message; the box keeps what it held and the window calculates on.
    void tooLongRefused_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("length");
        for (const char* how : {"key", "menu", "drop"})
            for (const char* box : {"txtLoan", "txtInterestRate", "txtXPaymentAmount"})
                QTest::addRow("%s %s 10 MB", box, how) << QByteArray(box) << QString::fromLatin1(how) << (10 << 20);
        QTest::newRow("txtInterestRate one over") << QByteArray("txtInterestRate") << "key" << kBoxLength + 1;
    }
    void tooLongRefused()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, how);
        QFETCH(int, length);
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        auto* edit = h.w<QLineEdit>(box.constData());
        if (box == "txtXPaymentAmount") h.click("cmdAddPayment");
        const QString before = edit->text();
        insertFromOutside(edit, how, QString(length, QLatin1Char('9')));
        QCOMPARE(edit->text(), before);
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{kTooLong});
        QCOMPARE(h.window->focusWidget(), edit);
        h.messages.clear();
        h.calculate();
        QCOMPARE(h.messages.texts(), QStringList());
        QCOMPARE(h.text("txtPaymentAmount"), QString("$340.02"));
    }

    // Typing fills a box up to what it holds; the key after that is refused.
    void typingPastTheLimit()
    {
        LoanWindowHarness h;
        h.open();
        auto* edit = h.w<QLineEdit>("txtLoanAmount");
        const QString full(kBoxLength, QLatin1Char('1'));
        h.type("txtLoanAmount", full, false);
        QCOMPARE(edit->text(), full);
        QVERIFY(h.messages.shown().isEmpty());
        QTest::keyClick(edit, Qt::Key_2);
        QApplication::processEvents();
        QCOMPARE(edit->text(), full);
        QCOMPARE(h.messages.texts(Kind::Warning), QStringList{kTooLong});
    }

    // The description is free text, kept whole in its box and the store; the
    // caption and every question show a long one shortened.
    void descriptionsKeptWhole()
    {
        LoanWindowHarness h;
        h.open();
        h.carLoan();
        const QString hostile = QStringLiteral("Car\x01\x07 \u0642\u0631\u0636 x'); DROP TABLE tblLoanDetail; --");
        insertFromOutside(h.w<QLineEdit>("txtLoan"), "key", hostile);
        QVERIFY(h.window->save());
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(h.window->Loan())).description, hostile);
        const QString description(kBoxLength, QLatin1Char('x'));
        insertFromOutside(h.w<QLineEdit>("txtLoan"), "key", description);
        const QString shown = QString(119, QLatin1Char('x')) + QChar(0x2026);
        QCOMPARE(h.window->windowTitle(), shown);
        h.messages.answer(false);
        h.window->DeleteLoan(h.window->Loan());
        QCOMPARE(h.messages.texts(Kind::Question), QStringList{shown + " - Are you sure you wish to delete this loan?"});
        QVERIFY(h.window->save());
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(h.window->Loan())).description, description);
    }
};

QTEST_MAIN(tst_LoanWindowInput)
#include "tst_loanwindow_input.moc"
