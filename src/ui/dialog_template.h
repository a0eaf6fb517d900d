// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QWidget;

namespace tevusb::ui {

// What kind of control a template line creates.
enum class ControlKind {
    Label,     // static text, transparent
    GroupBox,  // replaced by an owner-drawn frame at initialisation
    PushButton,
    CheckBox,
    RadioButton,
    Edit,           // single-line edit
    MultiLineEdit,  // plain multi-line edit
    StatusBox,      // read-only multi-line status text
    Icon,           // static showing a 48x48 icon resource
    Picture,        // static showing a bitmap resource at its own size
    EtchedLine,     // horizontal separator
    Custom,         // an empty area a dialog draws itself (e.g. a memory map)
};

// One control of a dialog template. Geometry in dialog units; id 0 means no id.
struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    QString text;
    QRect rect;               // x, y, width, height in dialog units
    int resource = 0;         // icon or bitmap resource for Icon and Picture
    bool disabled = false;    // created disabled
    bool digitsOnly = false;  // edits that take only digits
    bool groupStart = false;  // first radio button of its group
};

// A dialog as its template describes it: client size in dialog units and its controls in
// creation order (which is also their stacking order).
struct DialogTemplate {
    int id = 0;
    QString title;
    int clientWidth = 0;
    int clientHeight = 0;
    bool resizable = false;
    std::vector<ControlTemplate> controls;
};

// Dialog-unit conversion: a dialog's layout scales with its font, so templates stay
// readable whatever font the system substitutes.
class DialogUnits {
  public:
    // Base units from the font: average character width and character height in pixels.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }
    int x(int du) const;  // horizontal: baseX / 4 pixels per unit, rounded
    int y(int du) const;  // vertical: baseY / 8 pixels per unit, rounded
    QRect rect(const QRect& du) const;

  private:
    int m_baseX;
    int m_baseY;
};

// The font every dialog uses: "Microsoft Sans Serif" 10 pt, or the closest sans-serif.
QFont dialogFont();

// Creates the controls of a template as children of `dialog` (object names are the ids),
// sizes the dialog's client area and sets its title.
void buildDialog(QWidget* dialog, const DialogTemplate& tmpl);

}  // namespace tevusb::ui
