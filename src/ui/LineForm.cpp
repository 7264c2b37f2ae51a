#include "LineForm.h"

#include "Cp1252Validator.h"
#include "editing/Editor.h"
#include "editing/ParameterRules.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace quillon {

bool isWindowShortcut(const QKeyEvent* key)
{
    return key->key() == Qt::Key_A && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

LineForm::LineForm(QWidget* parent)
    : QGroupBox(QStringLiteral("      Bitte einen G-Code bzw. M-Code auswählen"), parent)
{
    setObjectName(QStringLiteral("fraCode"));
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_lblLine0 = label("lblLine0", QStringLiteral("Zeile"));
    m_lblLine1 = label("lblLine1", QStringLiteral("000"));
    m_lblGcodeHead = label("lblGcodeHead", QStringLiteral("Code"));
    m_lblGcode = label("lblGcode", QStringLiteral("G00"));
    m_lblGcode->setAlignment(Qt::AlignCenter);
    m_lblGcode->setFrameShape(QFrame::Panel);
    m_lblGcode->setFrameShadow(QFrame::Sunken);
    m_lblGcode->setAutoFillBackground(true);
    m_lblFpar = label("lblFpar", QString());
    m_lblFpar->setAlignment(Qt::AlignCenter);
    QFont bold = m_lblFpar->font();
    bold.setBold(true);
    m_lblFpar->setFont(bold);
    m_lblLine1->setFont(bold);
    m_lblGcode->setFont(bold);
    m_lblComment = label("lblComment", QStringLiteral("Kommentar"));
    for (int k = 0; k < 5; ++k) {
        QLabel* caption = label(qPrintable(QStringLiteral("lblParam%1").arg(k)), QString());
        caption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        caption->hide();
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("txtParam%1").arg(k));
        field->setMaxLength(9);
        field->hide();
        m_lblParam[static_cast<std::size_t>(k)] = caption;
        m_txtParam[static_cast<std::size_t>(k)] = field;
    }
    m_txtComment = new QLineEdit(this);
    m_txtComment->setObjectName(QStringLiteral("txtComment"));
    m_txtComment->setValidator(new Cp1252Validator(m_txtComment));
    // Tab order of the line form: the fields left to right, then the comment.
    for (int k = 0; k < 4; ++k)
        setTabOrder(param(k), param(k + 1));
    setTabOrder(param(4), m_txtComment);
}

void LineForm::attach(Editor* editor, bool lathe, Guard guard)
{
    m_editor = editor;
    m_lathe = lathe;
    m_guard = std::move(guard);
    for (int k = 0; k < 5; ++k) {
        QLineEdit* field = param(k);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, k](const QString& text) {
            m_guard("txtParam_Change", [&]() { m_editor->paramEdited(k, text); });
        });
    }
    m_txtComment->installEventFilter(this);
    connect(m_txtComment, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_guard("txtComment_Change", [&]() { m_editor->commentEdited(text); });
    });
}

QLabel* LineForm::label(FormLabel label) const
{
    switch (label) {
    case FormLabel::LineHead: return m_lblLine0;
    case FormLabel::LineNumber: return m_lblLine1;
    case FormLabel::CodeHead: return m_lblGcodeHead;
    case FormLabel::Code: return m_lblGcode;
    case FormLabel::Fpar: return m_lblFpar;
    case FormLabel::Units:
    case FormLabel::CodeFrame: return nullptr;
    default:
        return m_lblParam[static_cast<std::size_t>(static_cast<int>(label) - static_cast<int>(FormLabel::Param0))];
    }
}

void LineForm::setCaption(const QString& text)
{
    // A group box reads "&" as a mnemonic; descriptions such as G89's carry a real one.
    QString shown = text;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    setTitle(text.isEmpty() ? QString() : QStringLiteral("  ") + shown + QStringLiteral("  "));
}

void LineForm::fieldsChanged()
{
    if (m_width <= 0)
        return;
    const int before = m_height;
    layoutFor(m_width);
    if (m_height != before)
        emit heightChanged();
}

int LineForm::layoutFor(int width)
{
    m_width = width;
    const int fieldHeight = m_txtComment->sizeHint().height();
    const int labelHeight = fontMetrics().height() + 2;
    const int top = 22;
    m_lblLine0->setGeometry(10, top, 36, fieldHeight);
    m_lblLine1->setGeometry(46, top, 40, fieldHeight);
    m_lblGcodeHead->setGeometry(96, top, 40, fieldHeight);
    m_lblGcode->setGeometry(136, top, 52, fieldHeight);
    m_lblFpar->setGeometry(196, top, 28, fieldHeight);

    const int inner = width - 20;
    const int gap = 6;
    const int fw = (inner - 4 * gap) / 5;
    // The lathes leave the Y place empty, so Z, F and H move left into it;
    // a code that does use it (the Mark 4's M98) keeps every field in its own place.
    const bool shift = m_lathe && param(1)->isHidden();
    // A caption wider than its field (the mill's tool change) takes a second
    // line, every other caption on the other one, so each may span two places.
    bool stagger = false;
    for (int k = 0; k < 5; ++k) {
        QLabel* caption = m_lblParam[static_cast<std::size_t>(k)];
        if (!caption->isHidden() && caption->fontMetrics().horizontalAdvance(caption->text()) > fw)
            stagger = true;
    }
    const int captionRows = stagger ? 2 : 1;
    const int paramTop = top + fieldHeight + 6;
    const int fieldTop = paramTop + captionRows * labelHeight;
    int place = 0;
    for (int k = 0; k < 5; ++k) {
        if (shift && k == 1)
            continue;
        const int x = 10 + place * (fw + gap);
        const int captionTop = stagger && place % 2 == 1 ? paramTop + labelHeight : paramTop;
        m_lblParam[static_cast<std::size_t>(k)]->setGeometry(x, captionTop, stagger ? 2 * fw + gap : fw, labelHeight);
        param(k)->setGeometry(x, fieldTop, fw, fieldHeight);
        ++place;
    }
    if (shift) {
        // Out of the way, so that it can never be drawn under a caption.
        m_lblParam[1]->setGeometry(10 + 4 * (fw + gap), paramTop, fw, labelHeight);
        param(1)->setGeometry(10 + 4 * (fw + gap), fieldTop, fw, fieldHeight);
    }
    const int commentTop = fieldTop + fieldHeight + 6;
    m_lblComment->setGeometry(10, commentTop, inner, labelHeight);
    m_txtComment->setGeometry(10, commentTop + labelHeight, inner, fieldHeight);
    m_height = commentTop + labelHeight + fieldHeight + 10;
    return m_height;
}

int LineForm::paramIndex(QObject* watched) const
{
    for (int k = 0; k < 5; ++k) {
        if (watched == param(k))
            return k;
    }
    return -1;
}

bool LineForm::eventFilter(QObject* watched, QEvent* event)
{
    const int k = paramIndex(watched);
    const bool comment = watched == m_txtComment;
    if (!m_editor || (k < 0 && !comment))
        return QGroupBox::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (isWindowShortcut(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::FocusIn:
        // After the click that brought the focus has placed its cursor.
        QTimer::singleShot(0, this, [this, k, comment]() {
            m_guard(comment ? "txtComment_GotFocus" : "txtParam_GotFocus", [&]() {
                comment ? m_editor->commentGotFocus() : m_editor->paramGotFocus(k);
            });
        });
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window (a message box, a menu) taking the focus is no leaving of the field.
        if (!comment && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_guard("txtParam_LostFocus", [&]() { m_editor->paramLostFocus(k); });
        break;
    }
    case QEvent::KeyPress:
        if (fieldKey(k, comment, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}

bool LineForm::fieldKey(int k, bool comment, QKeyEvent* key)
{
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        m_guard("Form_KeyDown", [&]() {
            // Moving to another line leaves the field as a Tab would: its
            // value is checked and stored first, and a refused value stays.
            if (!comment) {
                m_editor->paramLostFocus(k);
                if (m_editor->flags().refusedField != 0)
                    return;
            }
            key->key() == Qt::Key_Up ? m_editor->lineUp() : m_editor->lineDown();
        });
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        m_guard(comment ? "txtComment_KeyDown" : "txtParam_KeyDown", [&]() {
            comment ? static_cast<void>(m_editor->commentEnterPressed()) : m_editor->paramEnterPressed(k);
        });
        return true;
    }
    if (comment)
        return false;
    if (key->key() == Qt::Key_Delete) {
        m_editor->paramDeletePressed(k);
        return false;
    }
    const QString text = key->text();
    // Discarded like any other character the field does not take.
    return !text.isEmpty() && text.at(0).isPrint() && !blnParamKeyAccepted(text.at(0))
           && !(key->modifiers() & Qt::ControlModifier);
}

}  // namespace quillon
