#include "frmAbout.h"

#include "DialogFlags.h"
#include "BrimvaleVersion.h"
#include "Messages.h"
#include "SystemInfo.h"
#include "ToolbarIcons.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QFrame* makeEtchedLine(QWidget* parent, int index)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1_%1").arg(index));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

frmAbout::frmAbout(Messages& messages, QWidget* parent)
    : QDialog(parent, kDialogFlags), m_messages(messages)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("About ") + kAppTitle);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(programIcon().pixmap(32));
    picIcon->setFixedSize(40, 40);
    picIcon->setAlignment(Qt::AlignCenter);

    QLabel* lblTitle = makeLabel(this, QStringLiteral("lblTitle"), kAppTitle);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    QLabel* lblVersion = makeLabel(this, QStringLiteral("lblVersion"),
                                   QStringLiteral("Version %1.%2.%3").arg(BRIMVALE_VERSION_MAJOR).arg(BRIMVALE_VERSION_MINOR).arg(BRIMVALE_VERSION_PATCH));
    QLabel* lblDescription = makeLabel(this, QStringLiteral("lblDescription"), kAppDescription);
    QLabel* lblDisclaimer = makeLabel(this, QStringLiteral("lblDisclaimer"), QStringLiteral("Warning: ..."));

    auto* cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);

    // Icon beside the texts at the top; the disclaimer and the buttons below
    // the two etched lines.
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(6);
    texts->addWidget(lblDescription);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(texts, 1);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(0);
    lines->addWidget(makeEtchedLine(this, 0));
    lines->addWidget(makeEtchedLine(this, 1));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addSpacing(8);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->addLayout(top, 1);
    layout->addLayout(lines);
    layout->addLayout(bottom);

    // Client area 5730 x 4500 twips.
    setFixedSize(382, 300);

    // OK is default and cancel at once: Enter and Esc both close.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(m_messages, this); });
}
