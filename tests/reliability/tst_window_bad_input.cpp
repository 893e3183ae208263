// Hostile input at the loan window: megabyte pastes, control characters,
// right-to-left text, numbers the readers must refuse and a term that
// overflows. Each must end in a validation message, a clear error or a sound
// calculation; the window must stay usable and nothing stored may be damaged.

#include "LoanWindowHarness.h"

#include "BoxLimit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace {

const QString kTooLong = QStringLiteral("The text is too long for this box, which holds at most 1,000 characters; "
                                        "nothing was added.");

}  // namespace

class WindowBadInput : public QObject {
    Q_OBJECT

private:
    // A calculated, stored loan of 1,000.00 at 12 % over 3 months.
    void openGoodLoan(LoanWindowHarness& h)
    {
        h.open();
        h.show();
        h.enterLoan(QStringLiteral("Car"), 2, QStringLiteral("12"), 0, QStringLiteral("3"),
                    QStringLiteral("1000"), QString(), QDate(2024, 1, 15));
        h.calculate();
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        QVERIFY(h.window->save());
        h.messages.clear();
    }

    // Replaces a box's text by a paste from the keyboard, as a user does.
    void paste(LoanWindowHarness& h, const char* box, const QString& text)
    {
        QLineEdit* edit = h.box(box);
        edit->setFocus();
        edit->selectAll();
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(edit, QKeySequence::Paste);
    }

    // Puts `text` into a box the way `how` names: a key, the context menu,
    // a drop, a middle click.
    void insertFromOutside(LoanWindowHarness& h, const char* box, const QString& how, const QString& text)
    {
        QLineEdit* edit = h.box(box);
        edit->setFocus();
        if (how == QLatin1String("key")) {
            paste(h, box, text);
        } else if (how == QLatin1String("menu")) {
            QGuiApplication::clipboard()->setText(text);
            edit->selectAll();
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(edit, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QAction* pasteAction = nullptr;
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QLatin1String("&Paste"))) pasteAction = action;
            QVERIFY(pasteAction && pasteAction->isEnabled());
            menu->close();  // as a menu does before it triggers the chosen action
            pasteAction->trigger();
        } else if (how == QLatin1String("drop")) {
            QMimeData data;
            data.setText(text);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &drop);
        } else if (how == QLatin1String("middle click")) {
            QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
            QTest::mouseClick(edit, Qt::MiddleButton, {}, QPoint(5, 5));
        }
        QApplication::processEvents();
    }

    // The window still calculates the good loan after the bad input is gone.
    void expectStillUsable(LoanWindowHarness& h, const char* box, const QString& goodText)
    {
        h.messages.clear();
        h.type(box, goodText);
        h.calculate();
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join(QLatin1Char('|'))));
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        QCOMPARE(h.results()->rowCount(), 3);
    }

    // The stored loan is still the one saved before the bad input.
    void expectStoredIntact(LoanWindowHarness& h)
    {
        auto record = h.store->readLoan(h.window->Loan());
        QVERIFY(std::holds_alternative<LoanRecord>(record));
        const auto& loan = std::get<LoanRecord>(record);
        QCOMPARE(loan.description.value_or(QString()), QStringLiteral("Car"));
        QCOMPARE(shownNumber(loan.origAmount), QStringLiteral("1000"));
        QCOMPARE(shownNumber(loan.interestRate), QStringLiteral("12"));
    }

private slots:
    void initTestCase() { pinLocale(); }

    // A text that is no number, pasted into each number box: the check's
    // message, the focus on the box, table and store untouched, the window
    // usable again. Which texts are refused: ValidateLoan.RefusesWhatIsNotANumber.
    void refusedNumbers_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("message");
        const QString control = QStringLiteral("1\x01\x02" "2\t");
        QTest::newRow("txtInterestRate") << QByteArray("txtInterestRate") << control << "12" << "Interest rate must be numeric.";
        QTest::newRow("txtTerm") << QByteArray("txtTerm") << control << "3" << "Payment Term must be numeric.";
        QTest::newRow("txtLoanAmount") << QByteArray("txtLoanAmount") << control << "1000" << "The Loan Amount must be numeric.";
    }

    void refusedNumbers()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, text);
        QFETCH(QString, good);
        QFETCH(QString, message);

        LoanWindowHarness h;
        openGoodLoan(h);
        const QString tableBefore = h.result(0, 6);
        paste(h, box.constData(), text);
        h.calculate();
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), h.box(box.constData()));
        QCOMPARE(h.result(0, 6), tableBefore);
        expectStoredIntact(h);
        expectStillUsable(h, box.constData(), good);
    }

    // Descriptions are free text: whatever is pasted up to the box's limit is
    // kept whole, stored and read back unchanged.
    void descriptionsKeptWhole_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("as long as the box holds") << QString(kBoxLength, QLatin1Char('x'));
        QTest::newRow("control characters and right to left")
            << QStringLiteral("Car\x01\x07\x1b \u0642\u0631\u0636 x'); DROP TABLE tblLoanDetail; --");
    }

    void descriptionsKeptWhole()
    {
        QFETCH(QString, description);
        LoanWindowHarness h;
        openGoodLoan(h);
        paste(h, "txtLoan", description);
        QCOMPARE(h.text("txtLoan"), description);
        h.calculate();
        QVERIFY2(h.messages.shown().isEmpty(), qPrintable(h.messages.texts().join(QLatin1Char('|'))));
        QVERIFY(h.window->save());
        const int key = h.window->Loan();
        auto record = h.store->readLoan(key);
        QVERIFY(std::holds_alternative<LoanRecord>(record));
        QCOMPARE(std::get<LoanRecord>(record).description.value_or(QString()), description);
    }

    // Text that would make a box longer than it holds is refused whole,
    // however it comes, with its own message; the box keeps what it held and
    // the window calculates on.
    void tooLongForBoxRefused_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("length");
        for (const char* how : {"key", "menu", "drop", "middle click"}) {
            for (const char* box : {"txtLoan", "txtInterestRate", "txtTerm", "txtLoanAmount", "txtPaymentAmount"})
                QTest::addRow("%s %s 10 MB", box, how) << QByteArray(box) << 0 << QString::fromLatin1(how) << (10 << 20);
            QTest::addRow("txtXPaymentAmount %s 10 MB", how)
                << QByteArray("txtXPaymentAmount") << 1 << QString::fromLatin1(how) << (10 << 20);
        }
        // The box holds "12" or "3": this many more make one too many.
        QTest::newRow("txtInterestRate key one over") << QByteArray("txtInterestRate") << 0 << "key" << kBoxLength + 1;
        QTest::newRow("txtTerm drop one over") << QByteArray("txtTerm") << 0 << "drop" << kBoxLength;
        // The box holds "Car".
        QTest::newRow("txtLoan drop one over") << QByteArray("txtLoan") << 0 << "drop" << kBoxLength - 2;
    }
    void tooLongForBoxRefused()
    {
        QFETCH(QByteArray, box);
        QFETCH(int, tab);
        QFETCH(QString, how);
        QFETCH(int, length);
        if (how == QLatin1String("middle click") && !QGuiApplication::clipboard()->supportsSelection())
            QSKIP("this platform has no selection to paste with the middle button");
        LoanWindowHarness h;
        openGoodLoan(h);
        h.tabs()->setCurrentIndex(tab);
        if (tab == 1) h.click("cmdAddPayment");
        const QString before = h.text(box.constData());
        insertFromOutside(h, box.constData(), how, QString(length, QLatin1Char('9')));
        QCOMPARE(h.text(box.constData()), before);
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning), QStringList{kTooLong});
        // The window's focus (an offscreen popup leaves no active window).
        QCOMPARE(h.window->focusWidget(), h.box(box.constData()));
        h.tabs()->setCurrentIndex(0);
        h.calculate();
        QCOMPARE(h.text("txtPaymentAmount"), QStringLiteral("$340.02"));
        expectStoredIntact(h);
    }

    // Typing fills a box up to what it holds; the key after that is refused
    // with the same message.
    void typingPastBoxLimitRefused_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("good");
        QTest::newRow("txtLoan") << QByteArray("txtLoan") << QStringLiteral("Car");
        QTest::newRow("txtInterestRate") << QByteArray("txtInterestRate") << QStringLiteral("12");
        QTest::newRow("txtTerm") << QByteArray("txtTerm") << QStringLiteral("3");
        QTest::newRow("txtLoanAmount") << QByteArray("txtLoanAmount") << QStringLiteral("1000");
        QTest::newRow("txtPaymentAmount") << QByteArray("txtPaymentAmount") << QString();
    }
    void typingPastBoxLimitRefused()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, good);
        LoanWindowHarness h;
        openGoodLoan(h);
        QLineEdit* edit = h.box(box.constData());
        const QString full(kBoxLength, QLatin1Char('1'));
        h.type(box.constData(), full.chopped(1));
        QTest::keyClick(edit, Qt::Key_1);
        QCOMPARE(edit->text(), full);
        QVERIFY(h.messages.shown().isEmpty());
        QTest::keyClick(edit, Qt::Key_2);
        QApplication::processEvents();
        QCOMPARE(edit->text(), full);
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Warning), QStringList{kTooLong});
        expectStillUsable(h, box.constData(), good);
    }

    // A long description stays whole in its box and the store; the caption
    // and every question show it shortened with an ellipsis.
    void longDescriptionShownShortened()
    {
        LoanWindowHarness h;
        openGoodLoan(h);
        const QString description = QString(kBoxLength, QLatin1Char('x'));
        paste(h, "txtLoan", description);
        const QString shown = QString(119, QLatin1Char('x')) + QChar(0x2026);
        QCOMPARE(h.text("txtLoan"), description);
        QCOMPARE(h.window->windowTitle(), shown);
        h.messages.answer(false);
        h.window->DeleteLoan(h.window->Loan());
        h.messages.answer(false);
        QVERIFY(h.window->queryClose());
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Question),
                 (QStringList{shown + " - Are you sure you wish to delete this loan?",
                              shown + " - Information has changed\r\nDo you want to save the changes?"}));
        QVERIFY(h.window->save());
        const int key = h.window->Loan();
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(key)).description.value_or(QString()), description);

        // Saving over what another program changed, then deleted.
        for (const char* change : {"UPDATE tblLoanDetail SET InterestRate = 7", "DELETE FROM tblLoanDetail"}) {
            QCOMPARE(rawSql(h.dir.filePath(QStringLiteral("Brimvaledb.mdb")), QString::fromLatin1(change)),
                     QStringList());
            h.messages.clear();
            h.messages.answer(false);
            QVERIFY(!h.window->save());
            const QStringList asked = h.messages.texts(ScriptedMessages::Kind::Question);
            QCOMPARE(asked.size(), 1);
            QVERIFY2(asked[0].startsWith(shown + " - Another program has"), qPrintable(asked[0].left(200)));
        }
    }
};

QTEST_MAIN(WindowBadInput)
#include "tst_window_bad_input.moc"
