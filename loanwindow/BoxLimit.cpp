#include "BoxLimit.h"

#include "Messages.h"
#include "TextBox.h"

#include <QLocale>
#include <QTimer>

void limitBox(QLineEdit* box, Messages& messages, QWidget* window)
{
    auto* textBox = qobject_cast<TextBox*>(box);
    Q_ASSERT(textBox);
    textBox->setLengthLimit(kBoxLength, [box, &messages, window] {
        // Shown once the paste, drop or key has returned: a message box
        // inside a drop would hold the drag's source waiting.
        QTimer::singleShot(0, box, [box, &messages, window] {
            messages.warning(window, QStringLiteral("The text is too long for this box, which holds at most %1 "
                                                    "characters; nothing was added.")
                                         .arg(QLocale().toString(kBoxLength)));
            box->setFocus();
        });
    });
}
