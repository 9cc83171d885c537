#pragma once
// The panel of a chart window that holds the chart view: it can take the
// keyboard focus and hands its key events on as virtual key codes.
#include <QFrame>
#include <cstdint>
#include <functional>

namespace tvx {

// Shift-state bits of a key event.
enum TShiftBits : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

struct TEventKeyBoardArgs {
    TEventKeyBoardArgs(std::uint16_t Key, std::uint8_t Shift) : Key(Key), Shift(Shift) {}
    std::uint16_t Key;  // virtual key code: 'A'..'Z', '0'..'9', 46 Delete, ...
    std::uint8_t Shift; // TShiftBits
};

using TKeyBoardEvent = std::function<void(QObject* Sender, TEventKeyBoardArgs& Args)>;

// The virtual key code of a Qt key (0 for keys without one).
std::uint16_t VirtualKeyOf(int QtKey);
std::uint8_t ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

class TFocusedPanel : public QFrame {
    Q_OBJECT
public:
    explicit TFocusedPanel(QWidget* parent = nullptr);

    TKeyBoardEvent OnKeyBoardDown;
    TKeyBoardEvent OnKeyBoardUp;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
};

} // namespace tvx
