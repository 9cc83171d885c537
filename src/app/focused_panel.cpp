#include "app/focused_panel.h"

#include <QKeyEvent>

namespace tvx {

std::uint16_t VirtualKeyOf(int QtKey) {
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)) {
        return std::uint16_t(QtKey);
    }
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24) {
        return std::uint16_t(112 + (QtKey - Qt::Key_F1));
    }
    switch (QtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

std::uint8_t ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    std::uint8_t shift = 0;
    shift |= Modifiers.testFlag(Qt::ShiftModifier) ? ssShift : 0;
    shift |= Modifiers.testFlag(Qt::AltModifier) ? ssAlt : 0;
    shift |= Modifiers.testFlag(Qt::ControlModifier) ? ssCtrl : 0;
    shift |= Buttons.testFlag(Qt::LeftButton) ? ssLeft : 0;
    shift |= Buttons.testFlag(Qt::RightButton) ? ssRight : 0;
    shift |= Buttons.testFlag(Qt::MiddleButton) ? ssMiddle : 0;
    return shift;
}

TFocusedPanel::TFocusedPanel(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

bool TFocusedPanel::event(QEvent* e) {
    // Keys pressed with Alt, and F10, belong to the chart while the panel has
    // the focus: they must not open the menu bar.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->modifiers().testFlag(Qt::AltModifier) || key->key() == Qt::Key_F10) {
            e->accept();
            return true;
        }
    }
    return QFrame::event(e);
}

void TFocusedPanel::keyPressEvent(QKeyEvent* e) {
    QFrame::keyPressEvent(e);
    if (OnKeyBoardDown) {
        TEventKeyBoardArgs args(VirtualKeyOf(e->key()), ShiftStateOf(e->modifiers(), {}));
        OnKeyBoardDown(this, args);
    }
}

void TFocusedPanel::keyReleaseEvent(QKeyEvent* e) {
    QFrame::keyReleaseEvent(e);
    if (OnKeyBoardUp) {
        TEventKeyBoardArgs args(VirtualKeyOf(e->key()), ShiftStateOf(e->modifiers(), {}));
        OnKeyBoardUp(this, args);
    }
}

} // namespace tvx
