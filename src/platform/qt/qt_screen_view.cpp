#include "platform/qt/qt_screen_view.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <vector>

namespace {

QColor ToQColor(Colour c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// Disabled text is drawn half way between its colour and its background, as the desktop greys it.
QColor Greyed(QColor fore, QColor back) {
  return QColor((fore.red() + back.red()) / 2, (fore.green() + back.green()) / 2, (fore.blue() + back.blue()) / 2);
}

// The game's windows in the order they were shown; the last is in front.
std::vector<QtScreenView*>& ShownViews() {
  static std::vector<QtScreenView*> views;
  return views;
}

// The display a closed window stood on, so that the next window opens there too.
QScreen*& LastScreen() {
  static QScreen* screen = nullptr;
  return screen;
}

// Shows a picture box's persistent bitmap.
class PictureWidget : public QWidget {
 public:
  PictureWidget(PictureBox* box, QWidget* parent) : QWidget(parent), box_(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(box_->BackColor()));
    if (!box_->Image.isNull()) painter.drawImage(0, 0, box_->Image);
  }
  void mousePressEvent(QMouseEvent*) override {
    if (box_->OnClick) box_->OnClick();
  }

 private:
  PictureBox* box_;
};

// An option button whose caption's last word may stand right-aligned as a column of its own.
class OptionWidget : public QRadioButton {
 public:
  explicit OptionWidget(QWidget* parent) : QRadioButton(parent), last_(new QLabel(this)) {
    last_->setAttribute(Qt::WA_TransparentForMouseEvents);
    last_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    last_->hide();
  }

  void SetCaption(const QString& caption, bool lastWordRight) {
    QString head = caption, tail;
    if (lastWordRight) SplitLastWord(caption, head, tail);
    setText(head);
    last_->setText(tail);
    last_->setVisible(!tail.isEmpty());
  }
  QString LastWord() const { return last_->isVisible() ? last_->text() : QString(); }
  QRect LastWordRect() const { return last_->geometry(); }

 protected:
  // The whole button chooses the option, the price column too.
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void resizeEvent(QResizeEvent* event) override {
    QRadioButton::resizeEvent(event);
    last_->setGeometry(rect());
  }

 private:
  static bool Blank(QChar c) { return c == u' ' || c == QChar(0x3000); }
  // "name　　 price" → "name", "price"; a caption without blanks before its end stays whole.
  static void SplitLastWord(const QString& caption, QString& head, QString& tail) {
    int end = static_cast<int>(caption.size());
    while (end > 0 && Blank(caption[end - 1])) --end;
    int start = end;
    while (start > 0 && !Blank(caption[start - 1])) --start;
    int headEnd = start;
    while (headEnd > 0 && Blank(caption[headEnd - 1])) --headEnd;
    if (headEnd == 0 || start == end) return;
    head = caption.left(headEnd);
    tail = caption.mid(start, end - start);
  }

  QLabel* last_;
};

class LabelWidget : public QLabel {
 public:
  LabelWidget(Label* label, QWidget* parent) : QLabel(parent), label_(label) {}

 protected:
  void mousePressEvent(QMouseEvent*) override {
    if (label_->OnClick) label_->OnClick();
  }

 private:
  Label* label_;
};

}  // namespace

QtScreenView::QtScreenView(Screen& screen) : screen_(&screen) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(screen.ClientWidth, screen.ClientHeight);
  setFocusPolicy(Qt::StrongFocus);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(screen.BackColor));
  setPalette(pal);
  setAutoFillBackground(true);
  setWindowTitle(QString::fromStdString(screen.Caption()));
  // Frames first, so that the elements they hold have their parent.
  for (Element* e : screen.Elements())
    if (e->Kind() == ElementKind::Frame) widgets_[e] = Create(e);
  for (Element* e : screen.Elements())
    if (e->Kind() != ElementKind::Frame && e->Kind() != ElementKind::Timer) widgets_[e] = Create(e);
  for (auto& [e, w] : widgets_) Sync(const_cast<Element*>(e));
  Restack();
}

QtScreenView::~QtScreenView() {
  std::erase(ShownViews(), this);
  if (screen_) screen_->AttachView(nullptr);
}

QtScreenView* QtScreenView::Frontmost() {
  for (auto it = ShownViews().rbegin(); it != ShownViews().rend(); ++it)
    if ((*it)->screen_ && (*it)->isVisible()) return *it;
  return nullptr;
}

QWidget* QtScreenView::WidgetOf(const Element* e) const {
  auto it = widgets_.find(e);
  return it == widgets_.end() ? nullptr : it->second;
}

void QtScreenView::Detach() {
  if (isVisible()) LastScreen() = screen();
  std::erase(ShownViews(), this);
  screen_ = nullptr;
  hide();
  deleteLater();
}

QFont QtScreenView::FontFor(const Element* e) const {
  QFont font;
  font.setFamilies({QString::fromStdString(screen_->FontName), "IPAPGothic", "IPAGothic", "Noto Sans CJK JP",
                    "VL PGothic", "TakaoPGothic", "Droid Sans Fallback"});
  font.setPixelSize(std::max(1, static_cast<int>(e->FontSize() * 96.0 / 72.0 + 0.5)));
  font.setBold(e->FontBold());
  return font;
}

QWidget* QtScreenView::Create(Element* e) {
  QWidget* parent = e->Container ? WidgetOf(e->Container) : this;
  if (!parent) parent = this;
  QWidget* w = nullptr;
  switch (e->Kind()) {
    case ElementKind::Label:
      w = new LabelWidget(static_cast<Label*>(e), parent);
      break;
    case ElementKind::PictureBox:
      w = new PictureWidget(static_cast<PictureBox*>(e), parent);
      break;
    case ElementKind::TextBox: {
      auto* t = static_cast<TextBox*>(e);
      auto* edit = new QLineEdit(parent);
      QObject::connect(edit, &QLineEdit::textEdited, edit, [t](const QString& s) { t->Text = s.toStdString(); });
      QObject::connect(edit, &QLineEdit::returnPressed, edit, [t] {
        if (t->OnEnter) t->OnEnter();
      });
      w = edit;
      break;
    }
    case ElementKind::OptionButton: {
      auto* o = static_cast<OptionButton*>(e);
      auto* radio = new OptionWidget(parent);
      radio->setAutoExclusive(false);
      radio->setFocusPolicy(Qt::NoFocus);
      QObject::connect(radio, &QRadioButton::clicked, radio, [o, radio] {
        radio->setChecked(o->Value());
        o->Value = true;
      });
      w = radio;
      break;
    }
    case ElementKind::Frame:
      w = new QGroupBox(parent);
      break;
    case ElementKind::CommandButton: {
      auto* c = static_cast<CommandButton*>(e);
      auto* button = new QPushButton(parent);
      button->setFocusPolicy(Qt::NoFocus);
      QObject::connect(button, &QPushButton::clicked, button, [c] {
        if (c->OnClick) c->OnClick();
      });
      w = button;
      break;
    }
    case ElementKind::Timer:
      break;
  }
  if (w) w->setObjectName(QString::fromStdString(e->Name()));
  return w;
}

void QtScreenView::Sync(Element* e) {
  QWidget* w = WidgetOf(e);
  if (!w) return;
  w->setGeometry(e->Left(), e->Top(), e->Width(), e->Height());
  w->setEnabled(e->Enabled());
  // A sync follows every property change: the font and the colours are set again only when they differ, as
  // Qt lays a text box out afresh at each font it is given.
  const QFont font = FontFor(e);
  if (QFont& applied = fonts_[e]; applied != font || applied.families() != font.families()) {
    applied = font;
    w->setFont(font);
  }
  const QColor fore = ToQColor(e->ForeColor()), back = ToQColor(e->BackColor()), grey = Greyed(fore, back);
  const QPalette& now = w->palette();
  if (!w->testAttribute(Qt::WA_SetPalette) || now.color(QPalette::Active, QPalette::Text) != fore ||
      now.color(QPalette::Disabled, QPalette::Text) != grey || now.color(QPalette::Window) != back) {
    QPalette pal = now;
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
      pal.setColor(QPalette::Active, role, fore);
      pal.setColor(QPalette::Inactive, role, fore);
      pal.setColor(QPalette::Disabled, role, grey);
    }
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Base, back);
    w->setPalette(pal);
  }
  switch (e->Kind()) {
    case ElementKind::Label: {
      auto* l = static_cast<QLabel*>(w);
      const auto* m = static_cast<Label*>(e);
      const QString caption = QString::fromStdString(m->Caption());
      l->setWordWrap(!m->OneLine());
      if (m->OneLine()) {
        const QString shown = QFontMetrics(l->font()).elidedText(caption, Qt::ElideMiddle, m->Width());
        l->setText(shown);
        l->setToolTip(shown == caption ? QString() : caption);
      } else {
        l->setText(caption);
      }
      const Qt::Alignment h = m->Alignment() == 1 ? Qt::AlignRight : m->Alignment() == 2 ? Qt::AlignHCenter
                                                                                        : Qt::AlignLeft;
      l->setAlignment(h | Qt::AlignTop);
      l->setAutoFillBackground(m->BackStyle() == 1);
      break;
    }
    case ElementKind::PictureBox:
      w->update();
      break;
    case ElementKind::TextBox: {
      auto* edit = static_cast<QLineEdit*>(w);
      const auto* m = static_cast<TextBox*>(e);
      const QString text = QString::fromStdString(m->Text());
      if (edit->text() != text) {
        edit->setText(text);
        // A text the program puts in shows from its beginning, however long.
        edit->setCursorPosition(0);
      }
      edit->setReadOnly(m->Locked());
      // Setting it, even unchanged, lays the text out again.
      if (m->MaxLength > 0 && edit->maxLength() != m->MaxLength) edit->setMaxLength(m->MaxLength);
      edit->setAlignment(m->Alignment() == 1 ? Qt::AlignRight : m->Alignment() == 2 ? Qt::AlignHCenter
                                                                                   : Qt::AlignLeft);
      break;
    }
    case ElementKind::OptionButton: {
      auto* radio = static_cast<OptionWidget*>(w);
      const auto* m = static_cast<OptionButton*>(e);
      radio->SetCaption(QString::fromStdString(m->Caption()), m->LastWordRight());
      radio->setChecked(m->Value());
      break;
    }
    case ElementKind::Frame:
      static_cast<QGroupBox*>(w)->setTitle(QString::fromStdString(static_cast<Frame*>(e)->Caption()));
      break;
    case ElementKind::CommandButton:
      static_cast<QPushButton*>(w)->setText(QString::fromStdString(static_cast<CommandButton*>(e)->Caption()));
      break;
    case ElementKind::Timer:
      break;
  }
  w->setVisible(e->Visible());
}

void QtScreenView::Restack() {
  // Picture boxes behind the other elements (labels stay readable over the cabinet), each group by its order.
  std::vector<Element*> order;
  for (Element* e : screen_->Elements())
    if (WidgetOf(e)) order.push_back(e);
  std::stable_sort(order.begin(), order.end(), [](const Element* a, const Element* b) {
    const bool pa = a->Kind() == ElementKind::PictureBox, pb = b->Kind() == ElementKind::PictureBox;
    if (pa != pb) return pa;
    return a->ZOrderValue() < b->ZOrderValue();
  });
  for (Element* e : order) {
    WidgetOf(e)->raise();
    stackedZ_[e] = e->ZOrderValue();
  }
}

void QtScreenView::ElementChanged(Element& e) {
  if (!screen_) return;
  Sync(&e);
  if (stackedZ_[&e] != e.ZOrderValue()) Restack();
}

void QtScreenView::CaptionChanged() {
  if (screen_) setWindowTitle(QString::fromStdString(screen_->Caption()));
}

void QtScreenView::Repaint(PictureBox& p) {
  if (QWidget* w = WidgetOf(&p); w && w->isVisible()) w->repaint();
}

QString QtScreenView::LastWordOf(const Element* option) const {
  auto* radio = dynamic_cast<OptionWidget*>(WidgetOf(option));
  return radio ? radio->LastWord() : QString();
}

QRect QtScreenView::LastWordRectOf(const Element* option) const {
  auto* radio = dynamic_cast<OptionWidget*>(WidgetOf(option));
  return radio ? radio->LastWordRect() : QRect();
}

void QtScreenView::Show() {
  if (!isVisible()) {
    // Centred on the display of the game's window in front, or of the one that closed last: the game never
    // jumps between displays.
    QScreen* display = nullptr;
    if (QtScreenView* front = Frontmost(); front && front != this) display = front->screen();
    if (!display) display = LastScreen();
    if (!display) display = QGuiApplication::screenAt(QCursor::pos());
    if (!display) display = QGuiApplication::primaryScreen();
    if (display) {
      setScreen(display);
      move(display->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
  }
  std::erase(ShownViews(), this);
  ShownViews().push_back(this);
  show();
  activateWindow();
  setFocus();
}

void QtScreenView::closeEvent(QCloseEvent* event) {
  // The close box unloads the screen, as the game's forms are unloaded.
  if (screen_) screen_->Unload();
  event->accept();
}
