#pragma once

#include <QDialog>

class LoanStore;
class LoanWindowFactory;
class Messages;
class QGroupBox;
class QListView;
class QPushButton;

// The loan picker: lists the stored loans and opens one in a new loan window,
// starts a new loan, or just closes. Fills its list when it is created.
class frmOpen : public QDialog {
    Q_OBJECT
public:
    frmOpen(LoanStore& store, LoanWindowFactory& windows, Messages& messages, QWidget* parent = nullptr);

private:
    void LoadLoanList();
    void cmdOpenClick();
    void cmdNewClick();
    void cmdExitClick();

    LoanStore& m_store;
    LoanWindowFactory& m_windows;
    Messages& m_messages;
    QGroupBox* m_frame = nullptr;
    QListView* m_lstLoan = nullptr;
    QPushButton* m_cmdOpen = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QPushButton* m_cmdNew = nullptr;
};
