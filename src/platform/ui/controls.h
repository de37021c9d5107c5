#pragma once
// The standard controls. Each keeps the semantics forms rely on: setting Value in code raises
// Click, setting Text raises Change, ListIndex raises Click, option buttons clear the others
// of their container, scroll values outside Min..Max are refused.
#include "platform/gdi/surface.h"
#include "platform/ui/control.h"

#include <string>
#include <vector>

namespace plat {

enum Alignment : int { Align_Left = 0, Align_Right = 1, Align_Center = 2 };
enum CheckValue : int { Unchecked = 0, Checked = 1, Grayed = 2 };

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::CommandButton, index) {}
    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    // A graphical button (Style 1) shows its Picture; the others their Caption.
    int Style() const { return p_.style; }
    void SetStyle(int style);
    const Surface& Picture() const { return p_.picture; }
    void SetPicture(const Surface& picture);
    // Enter clicks the Default button of the form, Escape its Cancel button.
    bool Default = false;
    bool Cancel = false;
    // Setting Value to true in code clicks the button.
    void SetValue(bool value);

    std::string DisplayText() const override { return p_.caption; }
    bool Focusable() const override { return true; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
        int style = 0;
        Surface picture;
    } p_;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::Label, index) {}
    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    int Alignment() const { return p_.alignment; }
    void SetAlignment(int alignment);
    int BorderStyle() const { return p_.border_style; }
    void SetBorderStyle(int style);
    // 0 transparent, 1 opaque (BackColor painted).
    int BackStyle() const { return p_.back_style; }
    bool WordWrap = false;
    bool AutoSize = false;

    std::string DisplayText() const override { return p_.caption; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
        int alignment = Align_Left;
        int border_style = 0;
        int back_style = 1;
    } p_;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, int index = -1);
    const std::string& Text() const { return p_.text; }
    // Raises Change when the text differs.
    void SetText(const std::string& text);
    bool Locked() const { return p_.locked; }
    bool MultiLine() const { return p_.multi_line; }
    int Alignment() const { return p_.alignment; }
    int MaxLength = 0;   // 0: no limit (typing only)
    int SelStart = 0;
    int SelLength = 0;

    Event Change;

    // Typing by the user: refused when Locked, cut at MaxLength.
    void UserType(const std::string& text);

    std::string DisplayText() const override { return p_.text; }
    bool Focusable() const override { return true; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string text;
        bool locked = false;
        bool multi_line = false;
        int alignment = Align_Left;
    } p_;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::CheckBox, index) {}
    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    int Value() const { return p_.value; }
    // Raises Click when the value changes (in code as by the user).
    void SetValue(int value);

    std::string DisplayText() const override { return p_.caption; }
    bool Focusable() const override { return true; }
    void ClickAction() override;   // toggles 0 <-> 1 (grayed becomes checked)
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
        int value = Unchecked;
    } p_;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::OptionButton, index) {}
    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    bool Value() const { return p_.value; }
    // true clears the other option buttons of the same container and raises Click when it
    // was not set; false just clears it.
    void SetValue(bool value);
    // 1 graphical (looks like a button that stays down).
    int Style = 0;

    std::string DisplayText() const override { return p_.caption; }
    bool Focusable() const override { return true; }
    void ClickAction() override;   // selects it
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
        bool value = false;
    } p_;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::Frame, index) {}
    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    int BorderStyle = 1;

    std::string DisplayText() const override { return p_.caption; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
    } p_;
};

// The items and ListIndex shared by list boxes, combo boxes and the file-system lists.
class ListControl : public Control {
public:
    int ListCount() const { return static_cast<int>(items_.size()); }
    // Empty text (and a UiError) for an index outside 0..ListCount-1.
    std::string List(int index) const;
    // Appends, or inserts at index (0..ListCount); NewIndex gives where it went.
    void AddItem(const std::string& text, int index = -1);
    int NewIndex() const { return new_index_; }
    int ListIndex() const { return list_index_; }
    // -1 clears the selection; raises Click when it changes; outside -1..ListCount-1 is a UiError.
    virtual void SetListIndex(int index);
    bool Sorted = false;

    // A selection by the user: as SetListIndex (and Click even when it is the same item).
    void UserSelect(int index);
    bool Focusable() const override { return true; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

protected:
    using Control::Control;
    struct Item {
        std::string text;
    };
    std::vector<Item> items_;
    int list_index_ = -1;
    int new_index_ = -1;
};

class ListBox : public ListControl {
public:
    ListBox(Form& form, std::string name, int index = -1) : ListControl(form, std::move(name), Kind::ListBox, index) {}
    // The selected item's text, or empty.
    std::string Text() const { return list_index_ >= 0 ? items_[list_index_].text : std::string(); }
    std::string DisplayText() const override { return Text(); }
};

enum ComboStyle : int { Combo_DropDown = 0, Combo_Simple = 1, Combo_DropDownList = 2 };

class ComboBox : public ListControl {
public:
    ComboBox(Form& form, std::string name, int index = -1) : ListControl(form, std::move(name), Kind::ComboBox, index) {}
    int Style() const { return style_; }
    void SetStyle(int style);
    // The edit text; with a selection, the item's text.
    const std::string& Text() const { return text_; }
    // Raises Change when it differs; for a drop-down list the text must be an item (it
    // selects it), any other text is a UiError.
    void SetText(const std::string& text);
    void SetListIndex(int index) override;
    Event Change;

    void UserType(const std::string& text);
    std::string DisplayText() const override { return text_; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    int style_ = Combo_DropDown;
    std::string text_;
};

// True for a path that names its folder from the root: "/x", "\\x", or "C:\\x", whose drive
// letter names no drive on this system.
bool RootedPath(const std::string& path);

// The drives: on this system only the file system's root "/".
class DriveListBox : public ListControl {
public:
    DriveListBox(Form& form, std::string name, int index = -1);
    const std::string& Drive() const { return drive_; }
    Event Change;
    std::string DisplayText() const override { return drive_; }
    void SetListIndex(int index) override;
    void ResetProperties() override;

private:
    std::string drive_;
};

// A folder and its sub-folders. Path is the folder as this system names it ("/sim/Scenery"),
// whatever form it was given in.
// List(i) for i = -n..-1 gives the folder chain from the root (-1 the folder itself) and
// 0..ListCount-1 its sub-folders in name order, as full paths.
class DirListBox : public ListControl {
public:
    DirListBox(Form& form, std::string name, int index = -1) : ListControl(form, std::move(name), Kind::DirListBox, index) {}
    const std::string& Path() const { return path_; }
    // Re-reads the folder and raises Change; a folder that does not exist is refused
    // (returns false, nothing changes).
    bool SetPath(const std::string& path);
    std::string List(int index) const;
    int ParentCount() const { return static_cast<int>(chain_.size()); }
    Event Change;
    std::string DisplayText() const override { return path_; }
    void ResetProperties() override;

private:
    std::string path_;
    std::vector<std::string> chain_;   // root first, the folder itself last
};

// The files of a folder that match Pattern ("*.bmp;*.BMP", case-insensitive), by name.
class FileListBox : public ListControl {
public:
    FileListBox(Form& form, std::string name, int index = -1) : ListControl(form, std::move(name), Kind::FileListBox, index) {}
    const std::string& Path() const { return path_; }
    bool SetPath(const std::string& path);
    const std::string& Pattern() const { return pattern_; }
    void SetPattern(const std::string& pattern);
    // The selected file's name, or empty.
    std::string FileName() const { return List(list_index_ >= 0 ? list_index_ : -1); }
    // Re-reads the folder.
    void Refresh();
    Event PathChange;
    Event PatternChange;
    std::string DisplayText() const override { return path_; }
    void ResetProperties() override;

private:
    std::string path_;
    std::string pattern_ = "*.*";
};

class ScrollBar : public Control {
public:
    int Min() const { return p_.min; }
    int Max() const { return p_.max; }
    int Value() const { return p_.value; }
    int SmallChange() const { return p_.small_change; }
    int LargeChange() const { return p_.large_change; }
    void SetMin(int v);
    void SetMax(int v);
    // Raises Change when it differs. A value outside Min..Max (either order) is a UiError and
    // changes nothing.
    void SetValue(int v);
    void SetSmallChange(int v);
    void SetLargeChange(int v);
    Event Change;
    Event Scroll;   // while the thumb is dragged

    // The user moves the bar: clamped to the range, then Change.
    void UserScroll(int value);
    bool Focusable() const override { return true; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

protected:
    using Control::Control;

private:
    struct Props {
        int min = 0, max = 32767, value = 0, small_change = 1, large_change = 1;
    } p_;
};

class HScrollBar : public ScrollBar {
public:
    HScrollBar(Form& form, std::string name, int index = -1) : ScrollBar(form, std::move(name), Kind::HScrollBar, index) {}
};
class VScrollBar : public ScrollBar {
public:
    VScrollBar(Form& form, std::string name, int index = -1) : ScrollBar(form, std::move(name), Kind::VScrollBar, index) {}
};

// Raises Tick every Interval milliseconds while Enabled and Interval > 0. The host keeps time;
// tests call UserTick.
class Timer : public Control {
public:
    Timer(Form& form, std::string name, int index = -1);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Running() const { return Enabled() && interval_ > 0 && ParentLoaded(); }
    Event Tick;
    // The interval has elapsed: Tick when running.
    void UserTick();
    void ResetProperties() override;

private:
    bool ParentLoaded() const;
    int interval_ = 0;
};

// The border pen that the line and shape overlays share.
class BorderedOverlay : public Control {
public:
    Colour BorderColor() const { return border_.color; }
    void SetBorderColor(Colour c);
    int BorderWidth() const { return border_.width; }
    int BorderStyle() const { return border_.style; }   // 0 transparent, 1 solid, 2 dash, 3 dot
    void SetBorderStyle(int s);

protected:
    using Control::Control;
    struct Border {
        Colour color = RGB(0, 0, 0);
        int width = 1, style = 1;
    } border_;
};

// A line drawn above its container (a picture box or the form), not erased by Cls.
class LineControl : public BorderedOverlay {
public:
    LineControl(Form& form, std::string name, int index = -1);
    int X1() const { return p_.x1; }
    int Y1() const { return p_.y1; }
    int X2() const { return p_.x2; }
    int Y2() const { return p_.y2; }
    void SetPoints(int x1, int y1, int x2, int y2);
    int DrawMode() const { return p_.draw_mode; }
    void SetDrawMode(int m);
    // Draws it onto a surface whose origin is the container's.
    void DrawOn(Surface& surface) const;
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        int draw_mode = DM_CopyPen;
    } p_;
};

enum ShapeKind : int { Shape_Rectangle = 0, Shape_Square = 1, Shape_Oval = 2, Shape_Circle = 3, Shape_RoundedRectangle = 4, Shape_RoundedSquare = 5 };

// A rectangle or oval above its container, at Left/Top/Width/Height, not erased by Cls.
class Shape : public BorderedOverlay {
public:
    Shape(Form& form, std::string name, int index = -1);
    int ShapeKind() const { return p_.shape; }
    void SetShapeKind(int shape);
    int FillStyle() const { return p_.fill_style; }   // FillStyleValue, FS_Transparent default
    void SetFillStyle(int s);
    Colour FillColor() const { return p_.fill_color; }
    void SetFillColor(Colour c);
    void DrawOn(Surface& surface) const;
    void Move(int left, int top, int width, int height) override;
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        int shape = Shape_Rectangle;
        int fill_style = FS_Transparent;
        Colour fill_color = RGB(0, 0, 0);
    } p_;
};

// Pages on one control; child controls name the page they stand on (SetContainer(&tab, page)).
class TabStrip : public Control {
public:
    TabStrip(Form& form, std::string name, int index = -1) : Control(form, std::move(name), Kind::TabStrip, index) {}
    int Tabs() const { return static_cast<int>(pages_.size()); }
    void SetTabs(int count);
    int Tab() const { return current_; }
    // Raises Click(previous tab) when it changes; outside 0..Tabs-1 is a UiError.
    void SetTab(int tab);
    std::string TabCaption(int tab) const;
    void SetTabCaption(int tab, const std::string& caption);
    bool TabEnabled(int tab) const;
    void SetTabEnabled(int tab, bool enabled);
    bool TabVisible(int tab) const;
    std::function<void(int previous_tab)> TabClick;

    // The user picks a page: refused when the page is disabled or hidden, or when the control
    // that has the focus refuses to be left.
    void UserSelectTab(int tab);
    std::string DisplayText() const override { return TabCaption(current_); }
    int CurrentPage() const override { return current_; }
    bool Focusable() const override { return true; }
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Page {
        std::string caption;
        bool enabled = true;
        bool visible = true;
    };
    bool ValidTab(int tab) const;
    std::vector<Page> pages_{Page{}};
    int current_ = 0;
};

// The open and save dialogs. Show returns false when the user cancels; then FileName keeps
// its value.
class CommonDialog : public Control {
public:
    CommonDialog(Form& form, std::string name, int index = -1);
    std::string DialogTitle;
    std::string Filter;      // "Projects (*.LWM)|*.LWM|All (*.*)|*.*"
    int FilterIndex = 1;
    std::string InitDir;
    // Added (after a dot) to a name saved without an extension of its own: "Ref".
    std::string DefaultExt;
    std::string FileName;    // in: proposed name; out: the chosen path
    std::string FileTitle;   // out: the chosen file's name without folder
    int Flags = 0;
    bool ShowOpen();
    bool ShowSave();
    void ResetProperties() override;

private:
    bool Run(bool save);
};

}  // namespace plat
