#pragma once
// A push button of a dialog template that shows a picture before its text, the two centred together. It
// stays the system's button (clicks, Space, its access key, enabling) and keeps the template's text with the
// access key underlined; it draws its own face: raised or pressed in, the picture and text embossed while
// disabled, the focus mark while it has the focus, and the default frame while the dialog gives it one.

#include "framework/dialog/ButtonCtrl.h"

#include <windows.h>

#include <memory>

class Bitmap;

class PictureButtonCtrl : public ButtonCtrl {
public:
    // Binds the template's push button and shows the picture (owned; null shows the text alone).
    static PictureButtonCtrl* FromTemplate(WindowCL* parent, unsigned id, Bitmap* picture);
    ~PictureButtonCtrl() override;

    long OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    // Drawn by its owner, the system's button would tell the dialog it is no push button; it is one, and
    // takes the default button's part while it has the focus. Asked to become a default or a plain push
    // button, it stays drawn by its owner and shows or drops the default frame.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    PictureButtonCtrl(WindowCL* parent, unsigned id, Bitmap* picture);

    std::unique_ptr<Bitmap> picture_;
    // The part of the picture drawn: its ink, without the blank margin around it.
    RECT ink_{0, 0, 0, 0};
    bool default_ = false;
};
