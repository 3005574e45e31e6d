#pragma once

#include "ui/GuardedDialog.h"
#include "ui/HyperlinkControl.h"

#include <QLabel>
#include <QPixmap>

namespace qpx::ui {

inline constexpr const char* kProgramTitle = "Kelvra QPX Deployment ";
inline constexpr const char* kProgramVersion = "v1.70";
inline constexpr const char* kMakerEmail = "mailto:support@kelvra.example";
inline constexpr const char* kMakerHomePage = "https://www.kelvra.example/";

// The About box (template 100): title and version, the maker's logo, an empty serial number and
// the two links to the maker.
class AboutDialog final : public GuardedDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kTitleId = 1228;
    static constexpr int kSerialId = 1105;
    static constexpr int kHiddenId = 1108;
    static constexpr int kEmailId = 1053;
    static constexpr int kHomePageId = 1047;
    static constexpr int kOkId = 1;

    explicit AboutDialog(QWidget* parent = nullptr);

    HyperlinkControl* emailLink() const { return email_; }
    HyperlinkControl* homePageLink() const { return homePage_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HyperlinkControl* email_ = nullptr;
    HyperlinkControl* homePage_ = nullptr;
    QPixmap logo_;
};

} // namespace qpx::ui
