#pragma once
#include <cstdint>

namespace talvo::colors {

// Colours as the screens name them: 0x00BBGGRR for a plain colour (0x0000FF is
// red), 0x800000nn for system colour nn. The window layer maps both to Qt.
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t Green = 0x008000;
inline constexpr std::uint32_t Blue = 0xC00000;
inline constexpr std::uint32_t DarkRed = 0x0000C0;
inline constexpr std::uint32_t Navy = 0x800000;
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t LampGreen = 0x00F000;

inline constexpr std::uint32_t SysMenu = 0x80000004;        // lamps not read, cell background
inline constexpr std::uint32_t SysWindow = 0x80000005;      // text box background
inline constexpr std::uint32_t SysWindowText = 0x80000008;
inline constexpr std::uint32_t SysButtonFace = 0x8000000F;

inline constexpr bool isSystem(std::uint32_t c) { return (c & 0x80000000u) != 0; }

}  // namespace talvo::colors
