// The reminder popup's Qt side, from Form2.ui: a frameless tool window that never takes the
// focus, kept on top by the window system's own means.
#pragma once

#include "windows/TForm2View.h"

#include <QPointer>

#include <memory>

class PopupStacking;
class TForm2;
class QWidget;

namespace Ui {
class Form2;
}

class QtForm2 : public TForm2View
{
public:
    QtForm2(TForm2& form, QWidget* owner, PopupStacking& stacking);
    ~QtForm2() override;

    void setColor(std::uint32_t bgr) override;
    void setMessage(const std::string& text) override;
    void resize(int width, int height) override;
    void hideFrame() override;
    ScreenRect primaryScreen() const override;
    void moveTo(int x, int y) override;
    void showNoActivate() override;
    void hide() override;
    bool isVisible() const override;
    void raiseAbove() override;
    bool isMenuOpen() const override;

    QWidget* widget() const { return m_widget; }

private:
    void fitLabelsOnce();
    void shown();

    TForm2& m_form;
    PopupStacking& m_stacking;
    std::unique_ptr<Ui::Form2> ui;
    QPointer<QWidget> m_widget; // gone with its owner
    bool m_labelsFitted = false;
    bool m_watched = false;
};
