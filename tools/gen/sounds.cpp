// The fifteen sound effects, synthesised: 22050 Hz, 16-bit mono PCM WAV.
// Each is short, has its own character and is normalised below full scale so
// the mixer never clips it.

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "data_tree.h"
#include "noise.h"

namespace {

constexpr int kRate = 22050;
constexpr float kPi = 3.14159265f;
constexpr float kPeak = 0.8f;  // about -2 dB

using Samples = std::vector<float>;

// Runs a voice for the given seconds; the voice gets the time and the
// fraction of the sound played, and returns a sample.
Samples render(float seconds, const std::function<float(float time, float progress)>& voice) {
    Samples out(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < out.size(); ++i) out[i] = voice(static_cast<float>(i) / kRate, static_cast<float>(i) / out.size());
    return out;
}

// An oscillator whose frequency may change over time: it keeps its phase.
class Oscillator {
public:
    float sine(float frequency) { return std::sin(advance(frequency) * 2 * kPi); }
    float square(float frequency) { return advance(frequency) < 0.5f ? 0.7f : -0.7f; }
    float saw(float frequency) { return advance(frequency) * 2 - 1; }
    float triangle(float frequency) { return 1 - 4 * std::fabs(advance(frequency) - 0.5f); }

private:
    float advance(float frequency) {
        float current = phase_;
        phase_ = std::fmod(phase_ + frequency / kRate, 1.0f);
        return current;
    }
    float phase_ = 0;
};

// Attack then exponential decay.
float envelope(float time, float attack, float decay) {
    if (time < attack) return time / attack;
    return std::exp(-(time - attack) / decay);
}

// Fades the last few milliseconds so no sound ends with a click.
float tail(float progress) { return std::min(1.0f, (1 - progress) * 20); }

// A one-pole low-pass filter whose cutoff may move.
class LowPass {
public:
    float operator()(float input, float cutoff) {
        float a = 1 - std::exp(-2 * kPi * cutoff / kRate);
        state_ += a * (input - state_);
        return state_;
    }

private:
    float state_ = 0;
};

float noteFrequency(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

// Notes one after another, each a soft bell.
Samples arpeggio(const std::vector<int>& notes, float step, float ring, bool square) {
    float seconds = step * (notes.size() - 1) + ring;
    std::vector<Oscillator> voices(notes.size());
    return render(seconds, [&](float t, float p) {
        float sum = 0;
        for (size_t i = 0; i < notes.size(); ++i) {
            float start = i * step;
            if (t < start) continue;
            float f = noteFrequency(notes[i]);
            float tone = square ? voices[i].square(f) * 0.6f : voices[i].sine(f) + 0.3f * std::sin(t * f * 4 * kPi);
            sum += tone * envelope(t - start, 0.005f, ring / 3);
        }
        return sum * tail(p);
    });
}

Samples heal() { return arpeggio({3, 7, 10, 15}, 0.07f, 0.3f, false); }
Samples checkpoint() { return arpeggio({10, 15, 22}, 0.11f, 0.4f, false); }
Samples powerup() { return arpeggio({0, 4, 7, 12, 16, 19, 24}, 0.045f, 0.18f, true); }
Samples life() { return arpeggio({3, 7, 10, 15, 10, 15}, 0.1f, 0.3f, false); }

Samples hurt() {
    Oscillator osc;
    Random random(5);
    return render(0.3f, [&](float t, float p) {
        float f = 320 - 200 * p;
        return (osc.square(f) * 0.8f + random.range(-0.3f, 0.3f)) * envelope(t, 0.004f, 0.12f) * tail(p);
    });
}

Samples jump() {
    Oscillator osc;
    return render(0.28f, [&](float t, float p) {
        float f = 220 + 600 * std::sqrt(p);
        return (osc.triangle(f) * 0.7f + 0.3f * osc.sine(f * 2)) * envelope(t, 0.005f, 0.1f) * tail(p);
    });
}

Samples bump() {
    Oscillator osc;
    Random random(7);
    LowPass filter;
    return render(0.22f, [&](float t, float p) {
        float thud = osc.sine(95 - 45 * p) * envelope(t, 0.002f, 0.07f);
        float knock = filter(random.range(-1, 1), 900) * envelope(t, 0.001f, 0.02f);
        return (thud + knock * 1.5f) * tail(p);
    });
}

Samples menu() {
    Oscillator osc;
    return render(0.16f, [&](float t, float p) {
        return (osc.triangle(520 + 180 * p) + 0.25f * osc.sine(1040)) * envelope(t, 0.004f, 0.05f) * tail(p);
    });
}

Samples selectBlip() {
    Oscillator osc;
    return render(0.07f, [&](float t, float p) { return osc.square(1320) * envelope(t, 0.001f, 0.018f) * tail(p); });
}

Samples place() {
    Oscillator low, high;
    Random random(11);
    return render(0.2f, [&](float t, float p) {
        float thunk = low.sine(180 - 60 * p) * envelope(t, 0.002f, 0.05f);
        float clack = (high.square(760) * 0.4f + random.range(-0.4f, 0.4f)) * envelope(std::max(0.0f, t - 0.05f), 0.002f, 0.03f) *
                      (t > 0.05f ? 1.0f : 0.0f);
        return (thunk + clack) * tail(p);
    });
}

Samples sweep(float from, float to, float seconds) {
    Oscillator osc, wobble;
    LowPass filter;
    return render(seconds, [&](float t, float p) {
        float f = from + (to - from) * p;
        float vibrato = 1 + 0.02f * wobble.sine(18);
        return filter(osc.saw(f * vibrato), 2500) * envelope(t, 0.01f, seconds * 0.6f) * tail(p);
    });
}

Samples slowdown() { return sweep(620, 180, 0.4f); }
Samples speedup() { return sweep(180, 720, 0.4f); }

Samples explode() {
    Random random(13);
    LowPass filter, rumbleFilter;
    Oscillator rumble;
    return render(1.25f, [&](float t, float p) {
        float crack = filter(random.range(-1, 1), 3500 * std::exp(-t * 3) + 150);
        float boom = rumbleFilter(rumble.sine(55 - 25 * p) + random.range(-0.5f, 0.5f), 200);
        return (crack * 1.4f * envelope(t, 0.003f, 0.3f) + boom * envelope(t, 0.01f, 0.45f)) * tail(p);
    });
}

Samples pong() {
    Oscillator osc;
    return render(0.12f, [&](float t, float p) {
        return (osc.sine(880) + 0.2f * osc.sine(1760)) * envelope(t, 0.001f, 0.035f) * tail(p);
    });
}

Samples push() {
    Random random(17);
    LowPass filter;
    Oscillator osc;
    return render(0.5f, [&](float t, float p) {
        float whoosh = filter(random.range(-1, 1), 300 + 2500 * std::sin(p * kPi));
        float drive = osc.sine(160 - 90 * p) * 0.5f;
        return (whoosh * 2 + drive) * std::sin(p * kPi) * envelope(t, 0.02f, 0.3f) * tail(p);
    });
}

void normalise(Samples& samples) {
    float peak = 0;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    if (peak <= 0) return;
    for (float& s : samples) s *= kPeak / peak;
}

void putLittleEndian(std::vector<unsigned char>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> waveFile(const Samples& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes;
    auto tag = [&](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
    tag("RIFF");
    putLittleEndian(bytes, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLittleEndian(bytes, 16, 4);        // format chunk size
    putLittleEndian(bytes, 1, 2);         // PCM
    putLittleEndian(bytes, 1, 2);         // mono
    putLittleEndian(bytes, kRate, 4);     // samples per second
    putLittleEndian(bytes, kRate * 2, 4); // bytes per second
    putLittleEndian(bytes, 2, 2);         // bytes per frame
    putLittleEndian(bytes, 16, 2);        // bits per sample
    tag("data");
    putLittleEndian(bytes, dataBytes, 4);
    for (float s : samples) {
        auto value = static_cast<int16_t>(std::lround(std::max(-1.0f, std::min(1.0f, s)) * 32767.0f));
        putLittleEndian(bytes, static_cast<uint16_t>(value), 2);
    }
    return bytes;
}

}  // namespace

void writeSounds(DataWriter& out) {
    struct Effect {
        const char* name;
        Samples (*make)();
    };
    const Effect effects[] = {
        {"heal", heal},         {"hurt", hurt},         {"jump", jump},         {"bump", bump},
        {"menu", menu},         {"select", selectBlip},     {"place", place},       {"checkpoint", checkpoint},
        {"slowdown", slowdown}, {"speedup", speedup},   {"explode", explode},   {"powerup", powerup},
        {"pong1", pong},        {"life", life},         {"push", push},
    };
    for (const Effect& effect : effects) {
        Samples samples = effect.make();
        normalise(samples);
        out.writeBytes(waveFile(samples), std::string("sounds/") + effect.name + ".wav");
    }
}
