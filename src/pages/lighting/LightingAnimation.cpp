#include "pages/lighting/LightingAnimation.h"

#include <algorithm>

namespace orvane {

int brightnessAlpha(int brightness) {
    switch (brightness) {
        case 1:
            return 0;
        case 2:
            return 60;
        case 3:
            return 130;
        case 4:
            return 190;
        default:
            return 255;
    }
}

int effectInterval(PreviewEffect effect) {
    switch (effect) {
        case PreviewEffect::Blinking:
            return 1000;
        case PreviewEffect::Pulsating:
        case PreviewEffect::Breathing:
            return 100;
        case PreviewEffect::Solid:
            break;
    }
    return 0;
}

int EffectAnimation::tick(PreviewEffect effect, int alpha) {
    if (!started) {
        started = true;
        count = alpha;
    }
    switch (effect) {
        case PreviewEffect::Solid:
            return alpha;
        case PreviewEffect::Blinking: {
            const int shown = count % 2 != 0 ? alpha : 0;
            ++count;
            return shown;
        }
        case PreviewEffect::Pulsating:
            ++count;
            // Two dark ticks in every fifteen: a double flash each 1.5 s.
            return count % 15 == 0 || count % 15 == 3 ? 0 : alpha;
        case PreviewEffect::Breathing:
            count += rising ? 5 : -5;
            if (count >= alpha) {
                count = alpha;
                rising = false;
                return alpha;
            }
            if (count <= 0) {
                count = 0;
                rising = true;
                return 0;
            }
            return count;
    }
    return alpha;
}

void ColorShiftAnimation::step() {
    for (Channel& channel : channels) {
        if (channel.value >= 255) {
            channel.rising = false;
        } else if (channel.value <= 0) {
            channel.rising = true;
        }
        channel.value += channel.rising ? channel.step : -channel.step;
        channel.value = std::clamp(channel.value, 0, 255);
    }
}

}  // namespace orvane
