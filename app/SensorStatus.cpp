#include "app/SensorStatus.h"

#include "app/Tondrela.h"
#include "controls/staticex.h"

#include <algorithm>
#include <cstdint>

void ShowSensorStatus(CStaticEx* status) {
    constexpr std::uint32_t kWhite = 0x00FFFFFF;
    constexpr std::uint32_t kRed = 0x000000FF;
    const CTondrelaApp& app = TheApp();
    const bool connected = app.SensorConnected();
    status->setText(GetMessageText(connected ? 30002 : app.SensorInaccessible() ? 40023 : 30001));
    status->SetTextColor(connected ? kWhite : kRed);
    status->resize(std::max(status->width(), status->sizeHint().width()), status->height());
}

int SensorStartRefusal() {
    const CTondrelaApp& app = TheApp();
    if (app.SensorConnected())
        return 0;
    return app.SensorInaccessible() ? 40023 : 40004;
}
