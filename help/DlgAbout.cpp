#include "help/DlgAbout.h"

#include "app/Tondrela.h"
#include "app/WidgetLanguageTarget.h"
#include "controls/BtnST.h"
#include "controls/ControlId.h"
#include "controls/staticex.h"
#include "help/AboutLayout.h"

#include <QFontMetrics>

#include <algorithm>

using namespace AboutId;

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kHoverText = 0x0072FF;
constexpr std::uint32_t kInk = 0x003C2C1E; // the picture's dark ink, 0x00BBGGRR

constexpr char kSection[] = "Tondrela-Registration";
constexpr int kSmallestFont = 8; // pixels

const struct {
    int id;
    const char* text;
} kStatics[] = {
    {kProduct, "Solvamira Wellness Version 1.0"},
    {kNotice, "© Tondrela developers, all rights reserved"},
    {kDate, "Last modify date : 2013.4.29.1"},
};

} // namespace

CDlgAbout::CDlgAbout(QWidget* parent) : CBkDialog(parent) {
    const CTondrelaApp& app = TheApp();
    setWindowTitle(QStringLiteral("Tondrela"));
    auto* ok = new CButtonST(this);
    SetControlId(ok, kOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    for (const auto& item : kStatics) {
        auto* label = new CStaticEx(this);
        SetControlId(label, item.id);
        label->setText(QString::fromUtf8(item.text));
        label->SetFont(app.fontFace, app.fontSizes.smallestFontSize);
        label->SetTransparent(true);
        label->SetTextColor(kInk);
    }

    // The client area is the design space; the box sits at the top-left corner.
    setFixedSize(kAboutDesignWidth, kAboutDesignHeight);
    move(0, 0);
    SetBackground(app.ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("about.jpg")));
    ApplyControlLayout(this, AboutLayout, static_cast<double>(width()) / kAboutDesignWidth,
                       static_cast<double>(height()) / kAboutDesignHeight);
    ApplyLanguage(this, kSection);
    FitStatics();

    ok->SetBtnCursor(Qt::PointingHandCursor);
    ok->SetFont(app.fontFace, app.fontSizes.textFontSize);
    ok->SetColor(CButtonST::Color::TextIn, kHoverText);
    ok->SetColor(CButtonST::Color::TextOut, kWhite);
    ok->SetTransparent(true);
    ok->SetNoBorder(true);
}

// The statics reach past the box's right edge (340 + 250 in a 580-wide box): a text that does
// not fit into the visible part gets a smaller font.
void CDlgAbout::FitStatics() {
    for (const auto& item : kStatics) {
        CStaticEx* label = Static(item.id);
        const int room = std::min(label->width(), width() - label->x());
        QFont font = label->font();
        while (font.pixelSize() > kSmallestFont &&
               QFontMetrics(font).horizontalAdvance(label->text()) > room)
            font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
}

CButtonST* CDlgAbout::Button(int id) const {
    return qobject_cast<CButtonST*>(FindControl(this, id));
}

CStaticEx* CDlgAbout::Static(int id) const {
    return qobject_cast<CStaticEx*>(FindControl(this, id));
}
