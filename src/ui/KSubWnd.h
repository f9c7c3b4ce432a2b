#pragma once

#include <QPointer>
#include <QWidget>

namespace talvo {

// A component that follows one form from the moment it is hooked until it is unhooked or the
// form goes away.
class TKCustomSubWnd {
  public:
    virtual ~TKCustomSubWnd() = default;

    void SetForm(QWidget* Form) { HookedForm = Form; }
    QWidget* Form() const { return HookedForm; }

  private:
    QPointer<QWidget> HookedForm;
};

} // namespace talvo
