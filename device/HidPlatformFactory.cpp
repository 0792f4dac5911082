#include "device/HidPlatform.h"

#include "device/HidapiPlatform.h"
#include "device/ReplaySource.h"
#include "device/SimulatedSensor.h"
#include "device/SyntheticPulseSource.h"

std::unique_ptr<HidPlatform> MakeHidPlatform(const std::string& option, double speed,
                                             std::string* error) {
    if (option.empty())
        return std::make_unique<HidapiPlatform>();
    std::unique_ptr<PulseSource> source;
    if (option == "synthetic") {
        source = std::make_unique<SyntheticPulseSource>();
    } else {
        std::vector<int16_t> samples;
        std::string message;
        if (!LoadReplaySamples(option, &samples, &message)) {
            if (error)
                *error = message;
            return nullptr;
        }
        source = std::make_unique<ReplaySource>(std::move(samples));
    }
    return std::make_unique<SimulatedSensor>(std::move(source), speed);
}
