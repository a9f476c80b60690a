#include "about/qmAboutBox.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "about/Sprite.h"
#include "about/SpriteBox.h"
#include "graphics/Bitmap.h"
#include "graphics/Font.h"
#include "graphics/QtConvert.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "widgets/Screen.h"

namespace tsb {

// ---------------------------------------------------------------------------

TAboutLabel::TAboutLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setMouseTracking(true);
}

void TAboutLabel::mouseMoveEvent(QMouseEvent* e) {
    // Taken here, so the panel below does not see the move as its own.
    e->accept();
    if (OnMouseMove) Guarded(OnMouseMove);
}

void TAboutLabel::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton) FPressed = true;
}

void TAboutLabel::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton || !FPressed) return;
    FPressed = false;
    if (rect().contains(e->position().toPoint()) && OnClick) Guarded(OnClick);
}

void TAboutLabel::leaveEvent(QEvent* e) {
    QLabel::leaveEvent(e);
    FPressed = false;
}

// ---------------------------------------------------------------------------

TAboutPanel::TAboutPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void TAboutPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int r = width() - 1, b = height() - 1;
    auto frame = [&](int inset, TColor topLeft, TColor bottomRight) {
        p.setPen(QtColor(topLeft));
        p.drawLine(inset, inset, r - inset, inset);
        p.drawLine(inset, inset, inset, b - inset);
        p.setPen(QtColor(bottomRight));
        p.drawLine(r - inset, inset, r - inset, b - inset);
        p.drawLine(inset, b - inset, r - inset, b - inset);
    };
    frame(0, clBtnShadow, clBtnHighlight); // lowered outer bevel
    frame(1, clBtnHighlight, clBtnShadow); // raised inner bevel
}

void TAboutPanel::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (OnMouseMove) Guarded(OnMouseMove);
}

// ---------------------------------------------------------------------------

TqmAboutBox::TqmAboutBox(QWidget* parent) : QDialog(parent), FSpriteOwner(new TComponent(nullptr)) {
    FSpriteOwner->SetName("qmAboutBox");
    setObjectName("qmAboutBox");
    setWindowTitle("About");
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(336, 235);
    setFont(ClassicFont("Arial", -12, 0));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QtColor(clBtnFace));
    palette.setColor(QPalette::WindowText, QtColor(clBlack));
    setPalette(palette);
    setAutoFillBackground(true);
    setMouseTracking(true);

    Panel1 = new TAboutPanel(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(8, 4, 321, 198);
    Panel1->OnMouseMove = [this] { FormMouseMove(); };

    // Built as a stream would build it: properties first, then Loaded, which
    // gives the sprite its position.
    SpriteBox1 = new TSpriteBox(FSpriteOwner);
    SpriteBox1->SetLoading(true);
    SpriteBox1->SetName("SpriteBox1");
    SpriteBox1->Widget()->setParent(Panel1);
    SpriteBox1->Widget()->setObjectName("SpriteBox1");
    SpriteBox1->Widget()->setAccessibleName("Logo");
    SpriteBox1->SetBounds(2, 2, 317, 143);
    SpriteBox1->SetAlign(alTop);
    SpriteBox1->SetColor(clBtnFace);

    Sprite1 = new TSprite(FSpriteOwner);
    Sprite1->SetLoading(true);
    Sprite1->SetName("Sprite1");
    Sprite1->SetParent(SpriteBox1);
    Sprite1->SetVX(0);
    Sprite1->SetVY(0);
    LoadLogo();
    Sprite1->SetBounds(11, 4, 294, 134);
    Sprite1->Loaded();
    SpriteBox1->Loaded();

    // The labels lie over the play-field's lower edge; they come after it so
    // their text stays whole.
    Label1 = NewLabel("Label1", 6, 142, 57, true);
    Label1->setText("Name:");
    ProductName = NewLabel("ProductName", 70, 142, 247, false);
    Label3 = NewLabel("Label3", 6, 155, 57, true);
    Label3->setText("Copyright:");
    Copyright = NewLabel("Copyright", 70, 155, 247, false);
    Label2 = NewLabel("Label2", 6, 168, 57, true);
    Label2->setText("Build:");
    TimeStamp = NewLabel("TimeStamp", 70, 168, 247, false);
    for (TAboutLabel* label : {Label1, Label3, Label2})
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);

    WebPage = NewLabel("WebPage", 70, 181, 0, false);
    QFont link = WebPage->font();
    link.setUnderline(true);
    WebPage->setFont(link);
    QPalette blue = WebPage->palette();
    blue.setColor(QPalette::WindowText, QtColor(clBlue));
    WebPage->setPalette(blue);
    WebPage->setAccessibleDescription("Opens the web page in the browser");
    WebPage->OnMouseMove = [this] { WebPageMouseMove(); };
    WebPage->OnClick = [this] { WebPageClick(); };
    WebPage->installEventFilter(this);

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(129, 206, 77, 27);
    OKButton->setFont(ClassicFont("Arial", -12, fsBold));
    OKButton->setDefault(true);
    OKButton->setMouseTracking(true);
    OKButton->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    OKButton->setFocus();
}

TqmAboutBox::~TqmAboutBox() {
    // The play-field's widget lives in the panel: it goes before the widgets.
    delete FSpriteOwner;
}

TAboutLabel* TqmAboutBox::NewLabel(const char* name, int left, int top, int width, bool bold) {
    auto* label = new TAboutLabel(Panel1);
    label->setObjectName(name);
    label->setFont(ClassicFont("Arial", -11, bold ? TFontStyles(fsBold) : TFontStyles(0)));
    label->move(left, top);
    if (width > 0) label->setFixedWidth(width);
    label->setFixedHeight(label->fontMetrics().height());
    label->OnMouseMove = [this] { FormMouseMove(); };
    return label;
}

void TqmAboutBox::LoadLogo() {
    InitResources();
    Sprite1->SetAndImage(TBitmap(QImage(":/logo/LogoAnd.png")));
    Sprite1->SetOrImage(TBitmap(QImage(":/logo/LogoOr.png")));
}

int TqmAboutBox::ShowModal() {
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    return exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}

void TqmAboutBox::WebPageMouseMove() {
    Screen().SetOverrideCursor(crHandPoint);
}

void TqmAboutBox::FormMouseMove() {
    Screen().SetOverrideCursor(crDefault);
}

void TqmAboutBox::WebPageClick() {
    QDesktopServices::openUrl(QUrl(WebPage->text()));
}

void TqmAboutBox::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    Guarded([this] { FormMouseMove(); });
}

bool TqmAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OKButton && event->type() == QEvent::MouseMove)
        Guarded([this] { FormMouseMove(); });
    // A quick move may leave the box without crossing anything else in it:
    // the hand goes with the pointer leaving the address.
    if (watched == WebPage && event->type() == QEvent::Leave) Guarded([this] { FormMouseMove(); });
    return QDialog::eventFilter(watched, event);
}

void TqmAboutBox::done(int result) {
    // The hand must not outlive the box, whichever way it closes.
    Screen().SetOverrideCursor(crDefault);
    QDialog::done(result);
}

} // namespace tsb
