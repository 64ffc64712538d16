#include "ui/qt/qt_desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "ui/controls.h"
#include "ui/qt/qt_binder.h"

namespace velmark::ui::qt {

namespace {

// A window widget that reports closing, activation, state changes and resizing.
template <class Base>
class Shell : public Base {
 public:
  using Base::Base;
  std::function<void()> on_close;
  std::function<void()> on_activate;
  std::function<void()> on_state;
  std::function<void(QSize)> on_resize;
  QSize hint;
  QSize sizeHint() const override { return hint.isValid() ? hint : Base::sizeHint(); }

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (!on_close) return Base::closeEvent(e);
    e->ignore();  // the window decides: its query-unload may cancel
    on_close();
  }
  void changeEvent(QEvent* e) override {
    Base::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && on_state) on_state();
    if (e->type() == QEvent::ActivationChange && this->isActiveWindow() && on_activate) {
      on_activate();
    }
  }
  void resizeEvent(QResizeEvent* e) override {
    Base::resizeEvent(e);
    if (on_resize) on_resize(e->size());
  }
};

// The offscreen platform has no stacking of its own windows and says so on every attempt.
void BringForward(QWidget& w) {
  if (w.isWindow() && QGuiApplication::platformName() == "offscreen") return;
  w.raise();
  if (w.isWindow()) w.activateWindow();
}

// An MDI child opens wholly visible: the frame first grows (as far as the screen allows) to
// hold the child where the area placed it, then the child moves up and left as far as it must;
// what still does not fit is reached with the area's scroll bars.
void FitInFrame(QMdiSubWindow& sub) {
  QMdiArea* area = sub.mdiArea();
  if (!area) return;
  QWidget* frame = area->window();
  const QSize have = area->viewport()->size();
  const int short_x = sub.x() + sub.width() - have.width();
  const int short_y = sub.y() + sub.height() - have.height();
  if ((short_x > 0 || short_y > 0) && frame && !frame->isMaximized() && frame->screen()) {
    const QRect screen = frame->screen()->availableGeometry();
    const QSize decoration = frame->frameGeometry().size() - frame->size();
    const QSize most = screen.size() - decoration;
    frame->resize(std::min(most.width(), frame->width() + std::max(0, short_x)),
                  std::min(most.height(), frame->height() + std::max(0, short_y)));
    if (frame->frameGeometry().right() > screen.right() ||
        frame->frameGeometry().bottom() > screen.bottom()) {
      frame->move(screen.topLeft());
    }
    QCoreApplication::sendPostedEvents(frame, QEvent::LayoutRequest);
  }
  const QSize now = area->viewport()->size();
  const int x = std::clamp(sub.x(), 0, std::max(0, now.width() - sub.width()));
  const int y = std::clamp(sub.y(), 0, std::max(0, now.height() - sub.height()));
  if (x != sub.x() || y != sub.y()) sub.move(x, y);
}

WindowState StateOf(Qt::WindowStates s) {
  if (s & Qt::WindowMinimized) return WindowState::Minimized;
  if (s & Qt::WindowMaximized) return WindowState::Maximized;
  return WindowState::Normal;
}

// A menu control shown as a QMenu: in the frame's menu bar when visible, or popped up.
class MenuView : public ControlView {
 public:
  explicit MenuView(Menu& menu, QWidget* parent) : menu_(&menu), qmenu_(new QMenu(parent)) {
    menu.SetView(this);
    Refresh(menu);
  }
  ~MenuView() override {
    if (menu_ && menu_->View() == this) menu_->SetView(nullptr);
  }
  void Release() { menu_ = nullptr; }
  QMenu* Widget() const { return qmenu_; }
  void Refresh(Control&) override {
    if (!menu_ || !qmenu_) return;
    qmenu_->setTitle(ToQ(menu_->Caption()));
    qmenu_->menuAction()->setVisible(menu_->Visible());
    qmenu_->setEnabled(menu_->Enabled());
    qmenu_->clear();
    for (int i = 0; i < menu_->ItemCount(); ++i) {
      const Menu::Item& item = menu_->ItemAt(i);
      QAction* a = qmenu_->addAction(ToQ(item.caption));
      a->setCheckable(item.checked);
      a->setChecked(item.checked);
      a->setEnabled(item.enabled);
      a->setVisible(item.visible);
      QObject::connect(a, &QAction::triggered, [this, i] {
        if (menu_) menu_->UserChoose(i);
      });
    }
  }

 private:
  Menu* menu_;
  QPointer<QMenu> qmenu_;
};

}  // namespace

struct WindowView {
  QPointer<QWidget> outer;   // what is shown: main window, sub-window or top-level widget
  QPointer<QWidget> client;  // where the controls live
  QMdiArea* mdi = nullptr;   // the frame's MDI area
  QMdiSubWindow* sub = nullptr;
  std::map<const Control*, std::unique_ptr<ControlBinder>> binders;
  std::map<const Control*, std::unique_ptr<MenuView>> menus;
  QEventLoop* modal_loop = nullptr;
  bool placed = false;

  // The controls may already be gone (the window is being destroyed): only let go of them.
  void Release() {
    for (auto& [c, b] : binders) b->Release();
    for (auto& [c, m] : menus) m->Release();
    if (modal_loop) modal_loop->quit();
  }
  ~WindowView() {
    delete outer.data();
    binders.clear();
    menus.clear();
  }
};

QtDesktop::QtDesktop(double scale) {
  if (scale <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    scale = screen ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
  }
  geometry_.scale = scale;
  OnFrameClosed = [] { QCoreApplication::quit(); };
}

QtDesktop::~QtDesktop() {
  // Windows that outlive the desktop keep their controls; they only lose their views.
  for (auto& [w, view] : views_) {
    for (auto& [c, b] : view->binders) {
      if (const_cast<Control*>(c)->View() == b.get()) const_cast<Control*>(c)->SetView(nullptr);
      b->Release();
    }
    for (auto& [c, m] : view->menus) {
      if (const_cast<Control*>(c)->View() == m.get()) const_cast<Control*>(c)->SetView(nullptr);
      m->Release();
    }
  }
  views_.clear();
}

WindowView& QtDesktop::ViewOf(Window& window) {
  auto it = views_.find(&window);
  if (it != views_.end()) return *it->second;
  auto view = std::make_unique<WindowView>();
  Build(window, *view);
  return *views_.emplace(&window, std::move(view)).first->second;
}

void QtDesktop::Build(Window& window, WindowView& view) {
  auto on_close = [this, &window] {
    if (window.Loaded()) window.UserClose();
  };
  auto on_state = [&window](QWidget* w) {
    const WindowState s = StateOf(w->windowState());
    if (s != window.State()) window.SetState(s);
  };
  auto on_resize = [this, &window](QSize size) {
    if (window.State() != WindowState::Normal) return;
    if (size.width() == geometry_.Px(window.ClientWidth()) &&
        size.height() == geometry_.Px(window.ClientHeight())) {
      return;  // our own sizing coming back
    }
    window.UserResize(static_cast<int>(geometry_.Twips(size.width()) + 0.5),
                      static_cast<int>(geometry_.Twips(size.height()) + 0.5));
  };
  WindowView* frame_view = frame_ ? views_.at(frame_).get() : nullptr;
  if (window.IsMdiFrame()) {
    auto* main = new Shell<QMainWindow>();
    view.mdi = new QMdiArea(main);
    view.mdi->setBackground(QColor(128, 132, 140));
    view.mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view.mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    main->setCentralWidget(view.mdi);
    main->on_close = on_close;
    main->on_state = [main, on_state] { on_state(main); };
    QObject::connect(view.mdi, &QMdiArea::subWindowActivated, [this](QMdiSubWindow* sub) {
      for (auto& [w, v] : views_) {
        if (sub && v->sub == sub) UserActivated(*const_cast<Window*>(w));
      }
    });
    view.outer = main;
    view.client = view.mdi;
    frame_ = &window;
  } else if (window.IsMdiChild() && frame_view && !window.IsModal()) {
    auto* client = new Shell<QWidget>();
    client->on_resize = on_resize;
    auto* sub = new Shell<QMdiSubWindow>();
    sub->setWidget(client);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->on_close = on_close;
    sub->on_state = [sub, on_state] { on_state(sub); };
    frame_view->mdi->addSubWindow(sub);
    view.sub = sub;
    view.outer = sub;
    view.client = client;
  } else {
    QWidget* parent = frame_view ? frame_view->outer.data() : nullptr;
    auto* top = new Shell<QWidget>(parent, parent ? Qt::Dialog : Qt::Window);
    top->on_close = on_close;
    top->on_activate = [this, &window] { UserActivated(window); };
    top->on_state = [top, on_state] { on_state(top); };
    top->on_resize = on_resize;
    view.outer = top;
    view.client = top;
  }
  // Controls are built container first, so that each lands inside its frame or picture.
  std::function<QWidget*(Control&)> build = [&](Control& c) -> QWidget* {
    if (auto it = view.binders.find(&c); it != view.binders.end()) return it->second->Widget();
    if (c.Kind() == ControlKind::Menu) {
      auto m = std::make_unique<MenuView>(static_cast<Menu&>(c), view.outer);
      if (auto* main = qobject_cast<QMainWindow*>(view.outer.data()); main && c.Visible()) {
        main->menuBar()->addMenu(m->Widget());
      }
      view.menus.emplace(&c, std::move(m));
      return nullptr;
    }
    auto binder = MakeBinder(c, geometry_);
    if (!binder) return nullptr;
    QWidget* parent = c.Container() ? build(*c.Container()) : nullptr;
    binder->Create(parent ? parent : view.client.data());
    QWidget* w = binder->Widget();
    view.binders.emplace(&c, std::move(binder));
    return w;
  };
  for (Control* c : window.Controls()) {
    if (!view.menus.count(c)) build(*c);
  }
}

void QtDesktop::ApplyWindow(Window& window, WindowView& view) {
  if (!view.outer) return;
  view.outer->setWindowTitle(ToQ(window.Caption()));
  const QSize client(geometry_.Px(window.ClientWidth()), geometry_.Px(window.ClientHeight()));
  if (view.sub) {
    static_cast<Shell<QWidget>*>(view.client.data())->hint = client;
    if (view.client->size() != client) {
      view.client->resize(client);
      view.sub->adjustSize();
    }
  } else if (view.mdi) {
    auto* main = static_cast<QMainWindow*>(view.outer.data());
    const int bar = main->menuBar()->actions().isEmpty() ? 0 : main->menuBar()->sizeHint().height();
    if (main->centralWidget()->size() != client)
      main->resize(client.width(), client.height() + bar);
  } else if (view.outer->size() != client) {
    view.outer->resize(client);
  }
  if (window.Left() != 0 || window.Top() != 0) {
    view.outer->move(geometry_.Px(window.Left()), geometry_.Px(window.Top()));
    view.placed = true;
  }
  const WindowState shown = StateOf(view.outer->windowState());
  if (view.outer->isVisible() && shown != window.State()) {
    if (window.State() == WindowState::Minimized) view.outer->showMinimized();
    if (window.State() == WindowState::Maximized) view.outer->showMaximized();
    if (window.State() == WindowState::Normal) view.outer->showNormal();
  }
  if (window.Pointer() == MousePointer::Busy) {
    view.outer->setCursor(Qt::WaitCursor);
  } else {
    view.outer->unsetCursor();
  }
}

void QtDesktop::Show(Window& window) {
  WindowView& view = ViewOf(window);
  ApplyWindow(window, view);
  if (!view.placed && !view.sub && !view.mdi) {
    // A top-level window opens in the middle of its frame (or of the screen).
    const QWidget* over = frame_ ? WidgetOf(*frame_) : nullptr;
    const QRect area = over ? over->geometry()
                            : (QGuiApplication::primaryScreen()
                                   ? QGuiApplication::primaryScreen()->availableGeometry()
                                   : QRect(0, 0, 1024, 768));
    view.outer->move(area.center() - QPoint(view.outer->width() / 2, view.outer->height() / 2));
    view.placed = true;
  }
  activating_ = true;
  const bool first_show = !view.outer->isVisible();
  view.outer->show();
  if (view.sub) {
    if (first_show && !view.placed) FitInFrame(*view.sub);
    if (view.sub->mdiArea()) view.sub->mdiArea()->setActiveSubWindow(view.sub);
  } else {
    BringForward(*view.outer);
  }
  activating_ = false;
  active_ = &window;
}

void QtDesktop::RunModal(Window& window) {
  WindowView& view = ViewOf(window);
  view.outer->setWindowModality(Qt::ApplicationModal);
  Show(window);
  if (modal_driver_) {
    modal_driver_(window);
    if (window.Loaded() && window.IsShown()) window.UserClose();
    return;
  }
  QEventLoop loop;
  view.modal_loop = &loop;
  if (window.Loaded() && window.IsShown()) loop.exec(QEventLoop::DialogExec);
  if (auto it = views_.find(&window); it != views_.end()) it->second->modal_loop = nullptr;
}

Window* QtDesktop::FrontWindow() const {
  Window* front = nullptr;
  for (const auto& [w, v] : views_) {
    if (w->IsShown() && w != frame_) front = const_cast<Window*>(w);
  }
  return front ? front : (frame_ && frame_->IsShown() ? frame_ : nullptr);
}

void QtDesktop::Hide(Window& window) {
  auto it = views_.find(&window);
  if (it == views_.end()) return;
  WindowView& view = *it->second;
  if (view.outer) view.outer->hide();
  if (view.modal_loop) view.modal_loop->quit();
  if (active_ == &window) active_ = FrontWindow();
}

void QtDesktop::Closed(Window& window) {
  Hide(window);
  if (&window == frame_ && OnFrameClosed) OnFrameClosed();
}

void QtDesktop::Activate(Window& window) {
  active_ = &window;
  auto it = views_.find(&window);
  if (it == views_.end() || activating_) return;
  activating_ = true;
  WindowView& view = *it->second;
  if (view.sub && view.sub->mdiArea()) {
    view.sub->mdiArea()->setActiveSubWindow(view.sub);
  } else if (view.outer) {
    BringForward(*view.outer);
  }
  activating_ = false;
}

// The person brought a window to the front: the window hears of it as an activation.
void QtDesktop::UserActivated(Window& window) {
  if (activating_ || active_ == &window || !window.Loaded()) return;
  active_ = &window;
  window.Activate();
}

void QtDesktop::WindowChanged(Window& window) {
  auto it = views_.find(&window);
  if (it != views_.end()) ApplyWindow(window, *it->second);
}

// Asked for between exchanges with a unit ("show the label and repaint"): the paint is queued
// and done while the port waits for the next answer, so it never holds up the next request.
void QtDesktop::Repaint(Window& window) {
  auto it = views_.find(&window);
  if (it != views_.end() && it->second->outer) it->second->outer->update();
}

void QtDesktop::PopupMenu(Window& window, Menu& menu, int x, int y) {
  popped_menu_ = &menu;
  popped_owner_ = &window;
  WindowView& view = ViewOf(window);
  auto it = view.menus.find(&menu);
  if (it == view.menus.end() || !view.client) return;
  const QPoint at = view.client->mapToGlobal(QPoint(geometry_.Px(x), geometry_.Px(y)));
  // A scenario chooses the item with its own line; the menu is only shown, for its picture.
  if (modal_driver_) return it->second->Widget()->popup(at);
  it->second->Widget()->exec(at);
}

void QtDesktop::Forget(Window& window) {
  auto it = views_.find(&window);
  if (it == views_.end()) return;
  it->second->Release();
  if (active_ == &window) active_ = nullptr;
  if (frame_ == &window) frame_ = nullptr;
  if (popped_owner_ == &window) {
    popped_menu_ = nullptr;
    popped_owner_ = nullptr;
  }
  views_.erase(it);
  if (!active_) active_ = FrontWindow();
}

void QtDesktop::PumpPaintEvents() {
  qt::PumpPaintEvents();
}

QWidget* QtDesktop::WidgetOf(const Window& window) const {
  auto it = views_.find(&window);
  return it == views_.end() ? nullptr : it->second->outer.data();
}

QWidget* QtDesktop::WidgetOf(const Control& control) const {
  if (!control.Owner()) return nullptr;
  auto it = views_.find(control.Owner());
  if (it == views_.end()) return nullptr;
  auto b = it->second->binders.find(&control);
  return b == it->second->binders.end() ? nullptr : b->second->Widget();
}

void PumpPaintEvents() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velmark::ui::qt
