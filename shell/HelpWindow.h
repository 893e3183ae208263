#pragma once

#include <QWidget>

class QTextBrowser;

// Help > Contents and F1: the user guide in a window of its own beside the
// main window, so the user can read it while working. The guide is built into
// the program (the same page is installed under share/doc/brimvale).
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    static QUrl guideUrl();
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
