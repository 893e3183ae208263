#include "frmOpen.h"

#include "DialogFlags.h"
#include "ErrorText.h"
#include "LoanListModel.h"
#include "LoanStore.h"
#include "LoanWindowFactory.h"
#include "Messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

frmOpen::frmOpen(LoanStore& store, LoanWindowFactory& windows, Messages& messages, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      m_store(store),
      m_windows(windows),
      m_messages(messages)
{
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(tr("Open"));
    setModal(true);

    m_frame = new QGroupBox(tr("Select a Loan"), this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_lstLoan = new QListView(m_frame);
    m_lstLoan->setObjectName(QStringLiteral("lstLoan"));
    m_lstLoan->setAccessibleName(m_frame->title());
    m_lstLoan->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstLoan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstLoan->setUniformItemSizes(true);
    auto* frameLayout = new QVBoxLayout(m_frame);
    frameLayout->setContentsMargins(6, 4, 6, 6);
    frameLayout->addWidget(m_lstLoan);

    m_cmdOpen = new QPushButton(tr("Open"), this);
    m_cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    m_cmdExit = new QPushButton(tr("Exit"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_cmdNew = new QPushButton(tr("New"), this);
    m_cmdNew->setObjectName(QStringLiteral("cmdNew"));
    // Enter opens the chosen loan; Esc closes the picker as its close box does.
    m_cmdOpen->setDefault(true);
    m_cmdExit->setAutoDefault(false);
    m_cmdNew->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOpen);
    buttons->addWidget(m_cmdExit);
    buttons->addWidget(m_cmdNew);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(m_frame, 1);
    layout->addLayout(buttons);

    setTabOrder(m_cmdOpen, m_cmdExit);
    setTabOrder(m_cmdExit, m_cmdNew);
    setTabOrder(m_cmdNew, m_lstLoan);

    // Client area 4320 x 2535 twips.
    setFixedSize(288, 169);

    connect(m_cmdOpen, &QPushButton::clicked, this, &frmOpen::cmdOpenClick);
    connect(m_cmdExit, &QPushButton::clicked, this, &frmOpen::cmdExitClick);
    connect(m_cmdNew, &QPushButton::clicked, this, &frmOpen::cmdNewClick);
    connect(m_lstLoan, &QListView::doubleClicked, this, &frmOpen::cmdOpenClick);

    LoadLoanList();
}

void frmOpen::LoadLoanList()
{
    // Whatever could be listed stays listed, also when the read failed part-way.
    LoanList listed = m_store.listLoans();
    m_lstLoan->setModel(new LoanListModel(std::move(listed.loans), m_lstLoan));
    // The entry the keyboard is on is the chosen one, from the start: arrows
    // then Enter open a loan. An empty list keeps nothing chosen.
    if (m_lstLoan->model()->rowCount() > 0) {
        m_lstLoan->setCurrentIndex(m_lstLoan->model()->index(0, 0));
        m_lstLoan->setFocus();
    }
    if (listed.error)
        m_messages.critical(parentWidget(), errorText(*listed.error));
}

void frmOpen::cmdOpenClick()
{
    const QModelIndexList chosen = m_lstLoan->selectionModel()->selectedIndexes();
    if (chosen.isEmpty())
        return;
    const int key = chosen.first().data(Qt::UserRole).toInt();
    const QString caption = chosen.first().data().toString();
    // Out of the way first, so the loan window's own messages are not
    // hidden behind a modal picker.
    hide();
    m_windows.openLoan(key, caption);
    accept();
}

void frmOpen::cmdNewClick()
{
    hide();
    m_windows.newLoan();
    accept();
}

void frmOpen::cmdExitClick()
{
    reject();
}
