#pragma once

namespace orvane {

// Alpha of a lit zone at brightness step 1..5; any other step draws at full.
int brightnessAlpha(int brightness);

// The effects the preview animates, as the preview numbers them.
enum class PreviewEffect { Solid = 0, Blinking = 1, Pulsating = 2, Breathing = 3 };

// Milliseconds between two effect ticks; 0 for the steady effect.
int effectInterval(PreviewEffect effect);

// The intensity of the animated effects. One counter serves all three, so a
// switch between effects carries on from where the last one stood; it takes
// the current alpha at the first tick.
class EffectAnimation {
  public:
    // The alpha of both zones after one tick of `effect` at full alpha `alpha`.
    int tick(PreviewEffect effect, int alpha);

    int counter() const { return count; }
    bool isRising() const { return rising; }

  private:
    bool started = false;
    int count = 0;
    bool rising = true;
};

// The colour-shift animation: three channels walking up and down between 0
// and 255 at their own speeds.
class ColorShiftAnimation {
  public:
    struct Channel {
        int value;
        bool rising;
        int step;
    };

    void step();

    int red() const { return channels[0].value; }
    int green() const { return channels[1].value; }
    int blue() const { return channels[2].value; }

  private:
    Channel channels[3] = {{255, false, 15}, {125, true, 10}, {0, true, 5}};
};

}  // namespace orvane
