#pragma once
// Labels, text boxes (one line or several) and frames.
#include "platform/ui/ui.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace qthost {

class LabelWidget : public QLabel {
public:
    LabelWidget(plat::Label& control, QWidget* parent);
    void Sync();
protected:
    void resizeEvent(QResizeEvent* event) override;
private:
    // The designs' widths were measured with a narrower face: a text that does not fit is drawn
    // condensed, and only past that shortened in its middle.
    void FitText();
    plat::Label& c_;
};

class LineEditWidget : public QLineEdit {
public:
    LineEditWidget(plat::TextBox& control, QWidget* parent);
    void Sync();
private:
    plat::TextBox& c_;
};

class TextEditWidget : public QPlainTextEdit {
public:
    TextEditWidget(plat::TextBox& control, QWidget* parent);
    void Sync();
private:
    plat::TextBox& c_;
};

class FrameWidget : public QGroupBox {
public:
    FrameWidget(plat::Frame& control, QWidget* parent);
    void Sync();
protected:
    void paintEvent(QPaintEvent* event) override;
private:
    plat::Frame& c_;
};

}  // namespace qthost
