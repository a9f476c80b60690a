// Integer entry: a 32-bit number with an optional range, a key filter that
// lets only digits, minus and Backspace through, and a check of the number
// when the focus leaves the control.
#pragma once

#include <functional>

#include "controls/RightEdit.h"

namespace tsb {

class TLongEdit;

// Own acceptance test; clear Accept to refuse the number.
using TOnValidate = std::function<void(TLongEdit* Sender, int& Value, bool& Accept)>;
// A number below MinValue; the handler may change it.
using TOnMinValue = std::function<void(TLongEdit* Sender, int& Value)>;
// A number above MaxValue; the handler may change it.
using TOnMaxValue = std::function<void(TLongEdit* Sender, int& Value)>;

class TLongEdit : public TRightEdit {
    Q_OBJECT
public:
    explicit TLongEdit(QWidget* parent = nullptr);

    // The stored number; typed text becomes the number only when the focus
    // leaves the control (or on Commit).
    int Value() const { return FValue; }
    // Adjusts an out-of-range number silently, then shows it.
    void SetValue(int value);
    // MinValue never exceeds MaxValue; equal bounds (0 and 0 at first) mean
    // no range. To set a range a..b on a fresh control, set MaxValue first.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);

    // Runs OnValidate and the range check on a number, which an out-of-range
    // check may replace by the bound or by the handler's value. Returns
    // whether the number was accepted.
    bool Validate(int& value);

    // Takes the typed text as the number now, as leaving the control does.
    // Text that is not a whole number takes the focus back and throws
    // "'<text>' is not a valid integer value", leaving Value unchanged. A
    // refused number is replaced and shown, its text selected, the focus
    // taken back and a beep sounds. Returns whether the number was accepted.
    // For buttons that close the window without moving the focus first.
    bool Commit();

    TOnValidate OnValidate;
    TOnMinValue OnMinValue;
    TOnMaxValue OnMaxValue;

protected:
    bool KeyPress(QChar& key) override;
    void DoExit() override;

private:
    // Shows the stored number as text.
    void ShowValue();

    int FValue = 0;
    int FMinValue = 0;
    int FMaxValue = 0;
};

} // namespace tsb
