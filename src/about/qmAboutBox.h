// The about box: the logo on a sprite play-field, the product's name and
// version, copyright, build time and web page, and an OK button.
#pragma once

#include <QDialog>
#include <QLabel>
#include <functional>

class QPushButton;

namespace tsb {

class TComponent;
class TSprite;
class TSpriteBox;

// A label that reports mouse moves and clicks to its form instead of
// passing them on to its parent.
class TAboutLabel : public QLabel {
public:
    explicit TAboutLabel(QWidget* parent);
    std::function<void()> OnMouseMove;
    std::function<void()> OnClick;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool FPressed = false;
};

// A panel with a lowered outer and a raised inner bevel.
class TAboutPanel : public QWidget {
public:
    explicit TAboutPanel(QWidget* parent);
    std::function<void()> OnMouseMove;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

class TqmAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TqmAboutBox(QWidget* parent = nullptr);
    ~TqmAboutBox() override;

    // Shows the box centred on the screen and waits for it to close:
    // QDialog::Accepted for OK, QDialog::Rejected for the close box or Escape.
    int ShowModal();

    // The screen cursor: the pointing hand over the web page, the default
    // cursor anywhere else in the box.
    void WebPageMouseMove();
    void FormMouseMove();
    // Opens the address in the desktop's browser; a failure is ignored.
    void WebPageClick();

    TAboutPanel* Panel1;
    TSpriteBox* SpriteBox1;
    TSprite* Sprite1;
    TAboutLabel* Label1;
    TAboutLabel* ProductName;
    TAboutLabel* Label3;
    TAboutLabel* Copyright;
    TAboutLabel* Label2;
    TAboutLabel* TimeStamp;
    TAboutLabel* WebPage;
    QPushButton* OKButton;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TAboutLabel* NewLabel(const char* name, int left, int top, int width, bool bold);
    void LoadLogo();

    // Owns the play-field and its sprite.
    TComponent* FSpriteOwner;
};

} // namespace tsb
