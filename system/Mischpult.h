#pragma once

#include <memory>
#include <optional>

/// The few calls of a simple mixer element that the speaker mute makes, so
/// that the channel logic can be driven by an element of any shape (one
/// switch for all channels, a switch per channel, mono, no switch at all).
class Mischpultelement
{
public:
    virtual ~Mischpultelement() = default;
    /// Whether the element has a playback switch at all.
    virtual bool hatWiedergabeschalter() const = 0;
    /// Whether the element plays on channel `kanal` (0 = front left or mono,
    /// up to `kLetzterKanal`).
    virtual bool hatKanal(int kanal) const = 0;
    /// The playback switch of the channel: true = sound plays. Empty when it
    /// cannot be read.
    virtual std::optional<bool> schalter(int kanal) const = 0;
    /// Sets the playback switch of the channel; false when refused.
    virtual bool schalterSetzen(int kanal, bool an) = 0;
};

/// The highest channel number a simple mixer element can have.
inline constexpr int kLetzterKanal = 31;

/// Opens mixer elements by name.
class Mischpult
{
public:
    virtual ~Mischpult() = default;
    /// The element of that name; nullptr when there is no mixer or no such
    /// element. The element stays usable as long as it lives.
    virtual std::unique_ptr<Mischpultelement> element(const char* name) = 0;
};

/// The ALSA mixer "default", the one the mute uses outside tests.
Mischpult& alsaMischpult();
