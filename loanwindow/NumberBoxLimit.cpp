#include "NumberBoxLimit.h"

#include "Messages.h"

#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QValidator>

namespace {

class LengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return input.size() > kNumberBoxLength ? Invalid : Acceptable;
    }
};

}  // namespace

void limitNumberBox(QLineEdit* box, Messages& messages, QWidget* window)
{
    box->setValidator(new LengthValidator(box));
    QObject::connect(box, &QLineEdit::inputRejected, box, [box, &messages, window] {
        // Shown once the paste has returned, so the box has its old text back.
        QTimer::singleShot(0, box, [box, &messages, window] {
            messages.warning(window, QStringLiteral("The text is too long for this box, which holds at most %1 "
                                                    "characters; nothing was pasted.")
                                         .arg(QLocale().toString(kNumberBoxLength)));
            box->setFocus();
        });
    });
}
