#pragma once

#include <QValidator>

namespace quillon {

// Lets into a text field only what Windows-1252 can store, so that nothing
// typed or pasted is lost when the program is saved.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

// `text` without the characters Windows-1252 cannot hold.
QString cp1252Only(const QString& text);

}  // namespace quillon
