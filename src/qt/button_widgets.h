#pragma once
// The command, check and option buttons.
#include "platform/ui/ui.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace qthost {

class ButtonWidget : public QPushButton {
public:
    ButtonWidget(plat::CommandButton& control, QWidget* parent);
    void Sync();
private:
    plat::CommandButton& c_;
};

class CheckWidget : public QCheckBox {
public:
    CheckWidget(plat::CheckBox& control, QWidget* parent);
    void Sync();
protected:
    void nextCheckState() override {}   // the model toggles
    bool hitButton(const QPoint& pos) const override;
private:
    plat::CheckBox& c_;
};

class OptionWidget : public QRadioButton {
public:
    OptionWidget(plat::OptionButton& control, QWidget* parent);
    void Sync();
protected:
    void nextCheckState() override {}   // the model sets and clears the group
    bool hitButton(const QPoint& pos) const override;
private:
    plat::OptionButton& c_;
};

}  // namespace qthost
