#include "controls/LongEdit.h"

#include "widgets/Application.h"

namespace tsb {

namespace {

// Whole decimal number in 32 bits, with an optional sign; blanks around it
// are ignored.
int StrToInt(const QString& text) {
    bool ok = false;
    int value = text.toInt(&ok, 10);
    if (!ok)
        throw Exception(FormatMessage("'%s' is not a valid integer value", {text.toStdString()}));
    return value;
}

bool IsNumberKey(QChar key) {
    return (key >= QChar('0') && key <= QChar('9')) || key == QChar('-') || key == QChar('\b');
}

} // namespace

TLongEdit::TLongEdit(QWidget* parent) : TRightEdit(parent) {
    resize(60, height());
    ShowValue();
}

void TLongEdit::SetValue(int value) {
    FValue = value;
    Validate(FValue);
    ShowValue();
}

void TLongEdit::SetMinValue(int value) {
    if (value == FMinValue) return;
    FMinValue = value > FMaxValue ? FMaxValue : value;
    if (FValue < FMinValue) FValue = FMinValue;
    ShowValue();
}

void TLongEdit::SetMaxValue(int value) {
    if (value == FMaxValue) return;
    FMaxValue = value < FMinValue ? FMinValue : value;
    if (FValue > FMaxValue) FValue = FMaxValue;
    ShowValue();
}

bool TLongEdit::Validate(int& value) {
    bool accept = true;
    if (OnValidate) OnValidate(this, value, accept);
    if (accept && FMinValue != FMaxValue) {
        if (value < FMinValue) {
            accept = false;
            if (OnMinValue)
                OnMinValue(this, value);
            else
                value = FMinValue;
        }
        if (value > FMaxValue) {
            accept = false;
            if (OnMaxValue)
                OnMaxValue(this, value);
            else
                value = FMaxValue;
        }
    }
    return accept;
}

bool TLongEdit::Commit() {
    int value = 0;
    try {
        value = StrToInt(text());
    } catch (const Exception&) {
        TakeFocusBack();
        throw;
    }
    FValue = value;
    bool accepted = Validate(FValue);
    ShowValue();
    if (!accepted) {
        TakeFocusBack();
        Application().Beep();
    }
    return accepted;
}

bool TLongEdit::KeyPress(QChar& key) {
    if (!IsNumberKey(key)) {
        Application().Beep();
        return false;
    }
    return TRightEdit::KeyPress(key);
}

void TLongEdit::DoExit() {
    if (Commit()) TRightEdit::DoExit();
}

void TLongEdit::ShowValue() {
    setText(QString::number(FValue));
}

} // namespace tsb
