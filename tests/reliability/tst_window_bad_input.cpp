// Hostile input at the loan window: megabyte pastes, control characters,
// right-to-left text, numbers the readers must refuse and a term that
// overflows. Each must end in a validation message, a clear error or a sound
// calculation; the window must stay usable and nothing stored may be damaged.

#include "LoanWindowHarness.h"

#include "NumberBoxLimit.h"

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
        auto record = h.store->readLoan(h.window->Loan);
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

    // Descriptions are free text: whatever is pasted is kept whole, stored
    // and read back unchanged.
    void descriptionsKeptWhole_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("a million characters, the most stored") << QString(1000000, QLatin1Char('x'));
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
        const int key = h.window->Loan;
        auto record = h.store->readLoan(key);
        QVERIFY(std::holds_alternative<LoanRecord>(record));
        QCOMPARE(std::get<LoanRecord>(record).description.value_or(QString()), description);
    }

    // Text that would make a number box longer than it holds is refused
    // whole, however it comes, with its own message; the box keeps what it
    // held and the window calculates on.
    void tooLongForNumberBoxRefused_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("length");
        for (const char* how : {"key", "menu", "drop", "middle click"}) {
            for (const char* box : {"txtInterestRate", "txtTerm", "txtLoanAmount", "txtPaymentAmount"})
                QTest::addRow("%s %s 10 MB", box, how) << QByteArray(box) << 0 << QString::fromLatin1(how) << (10 << 20);
            QTest::addRow("txtXPaymentAmount %s 10 MB", how)
                << QByteArray("txtXPaymentAmount") << 1 << QString::fromLatin1(how) << (10 << 20);
        }
        // The box holds "12" or "3": this many more make one too many.
        QTest::newRow("txtInterestRate key one over") << QByteArray("txtInterestRate") << 0 << "key" << kNumberBoxLength + 1;
        QTest::newRow("txtTerm drop one over") << QByteArray("txtTerm") << 0 << "drop" << kNumberBoxLength;
    }
    void tooLongForNumberBoxRefused()
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

    // Typing fills a number box up to what it holds; the key after that is
    // refused with the same message.
    void typingPastNumberBoxLimitRefused_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("good");
        QTest::newRow("txtInterestRate") << QByteArray("txtInterestRate") << QStringLiteral("12");
        QTest::newRow("txtTerm") << QByteArray("txtTerm") << QStringLiteral("3");
        QTest::newRow("txtLoanAmount") << QByteArray("txtLoanAmount") << QStringLiteral("1000");
        QTest::newRow("txtPaymentAmount") << QByteArray("txtPaymentAmount") << QString();
    }
    void typingPastNumberBoxLimitRefused()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, good);
        LoanWindowHarness h;
        openGoodLoan(h);
        QLineEdit* edit = h.box(box.constData());
        const QString full(kNumberBoxLength, QLatin1Char('1'));
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

    // A description longer than QLineEdit edits well keeps working as a box:
    // every edit, its undo and redo, the cut and paste, keep the text whole
    // apart from what the user changed, in the box and in the store.
    void longDescriptionEdited_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        const QString body = QStringLiteral("Head ") + QString(100000, QLatin1Char('x')) + QStringLiteral(" Tail");
        const QString huge = QStringLiteral("Head ") + QString(10 << 20, QLatin1Char('x'));
        QTest::newRow("10 MB pasted") << huge << QStringList{} << huge;
        QTest::newRow("10 MB, typed at the end") << huge << QStringList{"End", "type:!"} << huge + "!";
        QTest::newRow("typed at the start") << body << QStringList{"Home", "type:A"} << "A" + body;
        QTest::newRow("backspace") << body << QStringList{"End", "Backspace", "Backspace"} << body.chopped(2);
        QTest::newRow("delete") << body << QStringList{"Home", "Del"} << body.mid(1);
        QTest::newRow("select all, delete, undo")
            << huge << QStringList{"Ctrl+A", "Del", "Ctrl+Z"} << huge;
        QTest::newRow("undo, redo") << body << QStringList{"End", "type:!", "Ctrl+Z", "Ctrl+Shift+Z"} << body + "!";
        QTest::newRow("undo the paste") << body << QStringList{"Ctrl+Z"} << QStringLiteral("Car");
        QTest::newRow("select all, type") << body << QStringList{"Ctrl+A", "type:z"} << QStringLiteral("z");
        QTest::newRow("cut a word, paste at the end")
            << body << QStringList{"Home", "Ctrl+Shift+Right", "Ctrl+X", "End", "Ctrl+V"} << body.mid(5) + "Head ";
        QTest::newRow("select to the start, copy, paste over all")
            << body << QStringList{"End", "Shift+Left", "Shift+Left", "Shift+Left", "Shift+Left", "Ctrl+C", "Ctrl+A", "Ctrl+V"}
            << QStringLiteral("Tail");
    }
    void longDescriptionEdited()
    {
        QFETCH(QString, pasted);
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        LoanWindowHarness h;
        openGoodLoan(h);
        QLineEdit* edit = h.box("txtLoan");
        paste(h, "txtLoan", pasted);
        QCOMPARE(edit->text().size(), pasted.size());
        QVERIFY(edit->text() == pasted);
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1String("type:")))
                QTest::keyClicks(edit, step.mid(5));
            else
                QTest::keySequence(edit, QKeySequence(step));
        }
        QCOMPARE(edit->text().size(), expected.size());
        QVERIFY(edit->text() == expected);
        QCOMPARE(h.window->windowTitle(), expected.size() > 120 ? expected.left(119) + QChar(0x2026) : expected);
        QVERIFY(h.window->IsDataChanged());
        if (expected.size() > 1000000) {
            // More than the store keeps: refused, the window still holds it.
            h.messages.clear();
            QVERIFY(!h.window->save());
            QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Critical),
                     QStringList{QStringLiteral("6 - Overflow: the description is %1 characters long, more than the "
                                                "1,000,000 this program stores and reads, so the loan is not saved.")
                                     .arg(QLocale().toString(expected.size()))});
            QVERIFY(h.window->IsDataChanged() && edit->text() == expected);
            return;
        }
        QVERIFY(h.window->save());
        const int key = h.window->Loan;
        QVERIFY(std::get<LoanRecord>(h.store->readLoan(key)).description.value_or(QString()) == expected);
        // Read back into a new window, whole.
        h.open(1, key);
        QVERIFY(h.text("txtLoan") == expected);
    }

    // A long description stays whole in its box and the store; the caption
    // and the questions show it shortened with an ellipsis.
    void longDescriptionShownShortened()
    {
        LoanWindowHarness h;
        openGoodLoan(h);
        const QString description = QString(200000, QLatin1Char('x'));
        paste(h, "txtLoan", description);
        const QString shown = QString(119, QLatin1Char('x')) + QChar(0x2026);
        QCOMPARE(h.text("txtLoan"), description);
        QCOMPARE(h.window->windowTitle(), shown);
        h.messages.answer(false);
        h.window->DeleteLoan(h.window->Loan);
        h.messages.answer(false);
        QVERIFY(h.window->queryClose());
        QCOMPARE(h.messages.texts(ScriptedMessages::Kind::Question),
                 (QStringList{shown + " - Are you sure you wish to delete this loan?",
                              shown + " - Information has changed\r\nDo you want to save the changes?"}));
        QVERIFY(h.window->save());
        const int key = h.window->Loan;
        QCOMPARE(std::get<LoanRecord>(h.store->readLoan(key)).description.value_or(QString()), description);
    }
};

QTEST_MAIN(WindowBadInput)
#include "tst_window_bad_input.moc"
