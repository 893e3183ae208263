#include "HelpWindow.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Brimvale Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setAccessibleName(QStringLiteral("User guide"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(guideUrl());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // Esc leaves it as it leaves a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    resize(640, 720);
}

QUrl HelpWindow::guideUrl()
{
    // The guide lives in the static shell library's resources: registered by hand, once.
    [[maybe_unused]] static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    return QUrl(QStringLiteral("qrc:/help/guide.html"));
}
