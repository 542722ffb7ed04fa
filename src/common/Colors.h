#pragma once
// Named colours of the windows, exactly comparable. An RGB colour is stored as
// 0x00BBGGRR; system colours (the theme's window background) carry the high
// byte 0xFF and an index, so they never equal an RGB colour.

#include <cstdint>

struct TColor {
    std::uint32_t Value = 0;

    static constexpr TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return TColor{std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16)};
    }
    constexpr bool IsSystem() const { return (Value & 0xFF000000u) != 0; }
    constexpr std::uint8_t Red() const { return std::uint8_t(Value & 0xFF); }
    constexpr std::uint8_t Green() const { return std::uint8_t((Value >> 8) & 0xFF); }
    constexpr std::uint8_t Blue() const { return std::uint8_t((Value >> 16) & 0xFF); }
    constexpr bool operator==(const TColor&) const = default;
};

inline constexpr TColor clSilver = TColor::Rgb(192, 192, 192);
inline constexpr TColor clRed = TColor::Rgb(255, 0, 0);
inline constexpr TColor clYellow = TColor::Rgb(255, 255, 0);
inline constexpr TColor clWhite = TColor::Rgb(255, 255, 255);
inline constexpr TColor clMaroon = TColor::Rgb(128, 0, 0);
inline constexpr TColor clNavy = TColor::Rgb(0, 0, 128);
inline constexpr TColor clBlue = TColor::Rgb(0, 0, 255);
inline constexpr TColor clAqua = TColor::Rgb(0, 255, 255);
inline constexpr TColor clLightYellow = TColor::Rgb(255, 255, 128);
// The theme's background of edit boxes.
inline constexpr TColor clWindow = TColor{0xFF000005u};
