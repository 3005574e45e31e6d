#pragma once

#include <QDialog>
#include <optional>

namespace qpx::ui {

// The base of every window of the program. However a window is asked to end (its buttons, Escape,
// the window manager's close box, an accessibility action, a timer, a posted close), the request
// comes to done(); while an exchange with the instrument runs it is held and carried out as soon
// as the exchange is over, so no window ends under a read or a write that still uses it or the
// port it lent. The first request wins; later ones change nothing.
class GuardedDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void done(int result) final;
    // True while an end asked for during an exchange waits for it to be over.
    bool endPending() const { return pending_.has_value(); }

protected:
    // What a window does as it ends, before it hides (the deployment display stops its tick and
    // closes its port): never during an exchange.
    virtual void ending(int result);

private:
    std::optional<int> pending_;
};

} // namespace qpx::ui
