// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// Names for the key codes of Engine::GetKeyDown, Engine::GetKeyPressed and Engine::GetKeyUp.

#include <cstdint>

namespace tovak2d {

/// The engine's key codes by name: the PC keyboard's set-1 scan codes, as Engine::GetKeyDown,
/// Engine::GetKeyPressed and Engine::GetKeyUp take them
/// (`engine.GetKeyPressed(tovak2d::Key::Space)`).
///
/// A code names a key's place on a US keyboard, whatever the layout: on a French keyboard
/// Key::Q is the key labelled A. SDL's own key and scan codes are other numbers; given to the
/// engine they compile but ask about other keys. The full table is on the main page (@ref keycodes).
namespace Key {

/// @name Control keys
/// @{
inline constexpr int32_t Escape = 0x01;      ///< Escape.
inline constexpr int32_t Backspace = 0x0E;   ///< Backspace.
inline constexpr int32_t Tab = 0x0F;         ///< Tab.
inline constexpr int32_t Enter = 0x1C;       ///< Enter (Return) on the main keyboard.
inline constexpr int32_t Space = 0x39;       ///< The space bar.
inline constexpr int32_t LeftCtrl = 0x1D;    ///< Left Ctrl.
inline constexpr int32_t LeftShift = 0x2A;   ///< Left Shift.
inline constexpr int32_t RightShift = 0x36;  ///< Right Shift.
inline constexpr int32_t LeftAlt = 0x38;     ///< Left Alt.
inline constexpr int32_t RightCtrl = 0x9D;   ///< Right Ctrl.
inline constexpr int32_t RightAlt = 0xB8;    ///< Right Alt (AltGr).
inline constexpr int32_t Pause = 0xC5;       ///< Pause.
/// @}

/// @name Arrows and the block above them
/// @{
inline constexpr int32_t Up = 0xC8;        ///< Up arrow.
inline constexpr int32_t Down = 0xD0;      ///< Down arrow.
inline constexpr int32_t Left = 0xCB;      ///< Left arrow.
inline constexpr int32_t Right = 0xCD;     ///< Right arrow.
inline constexpr int32_t Home = 0xC7;      ///< Home.
inline constexpr int32_t End = 0xCF;       ///< End.
inline constexpr int32_t PageUp = 0xC9;    ///< Page Up.
inline constexpr int32_t PageDown = 0xD1;  ///< Page Down.
inline constexpr int32_t Insert = 0xD2;    ///< Insert.
inline constexpr int32_t Delete = 0xD3;    ///< Delete.
/// @}

/// @name Digits of the main keyboard (not the keypad)
/// @{
inline constexpr int32_t Digit1 = 0x02;  ///< 1.
inline constexpr int32_t Digit2 = 0x03;  ///< 2.
inline constexpr int32_t Digit3 = 0x04;  ///< 3.
inline constexpr int32_t Digit4 = 0x05;  ///< 4.
inline constexpr int32_t Digit5 = 0x06;  ///< 5.
inline constexpr int32_t Digit6 = 0x07;  ///< 6.
inline constexpr int32_t Digit7 = 0x08;  ///< 7.
inline constexpr int32_t Digit8 = 0x09;  ///< 8.
inline constexpr int32_t Digit9 = 0x0A;  ///< 9.
inline constexpr int32_t Digit0 = 0x0B;  ///< 0.
inline constexpr int32_t Minus = 0x0C;   ///< - (minus).
inline constexpr int32_t Equals = 0x0D;  ///< = (equals, + with Shift).
/// @}

/// @name Letters (their place on a US keyboard)
/// @{
inline constexpr int32_t Q = 0x10;  ///< Q.
inline constexpr int32_t W = 0x11;  ///< W.
inline constexpr int32_t E = 0x12;  ///< E.
inline constexpr int32_t R = 0x13;  ///< R.
inline constexpr int32_t T = 0x14;  ///< T.
inline constexpr int32_t Y = 0x15;  ///< Y.
inline constexpr int32_t U = 0x16;  ///< U.
inline constexpr int32_t I = 0x17;  ///< I.
inline constexpr int32_t O = 0x18;  ///< O.
inline constexpr int32_t P = 0x19;  ///< P.
inline constexpr int32_t A = 0x1E;  ///< A.
inline constexpr int32_t S = 0x1F;  ///< S.
inline constexpr int32_t D = 0x20;  ///< D.
inline constexpr int32_t F = 0x21;  ///< F.
inline constexpr int32_t G = 0x22;  ///< G.
inline constexpr int32_t H = 0x23;  ///< H.
inline constexpr int32_t J = 0x24;  ///< J.
inline constexpr int32_t K = 0x25;  ///< K.
inline constexpr int32_t L = 0x26;  ///< L.
inline constexpr int32_t Z = 0x2C;  ///< Z.
inline constexpr int32_t X = 0x2D;  ///< X.
inline constexpr int32_t C = 0x2E;  ///< C.
inline constexpr int32_t V = 0x2F;  ///< V.
inline constexpr int32_t B = 0x30;  ///< B.
inline constexpr int32_t N = 0x31;  ///< N.
inline constexpr int32_t M = 0x32;  ///< M.
/// @}

/// @name Function keys
/// @{
inline constexpr int32_t F1 = 0x3B;   ///< F1.
inline constexpr int32_t F2 = 0x3C;   ///< F2.
inline constexpr int32_t F3 = 0x3D;   ///< F3.
inline constexpr int32_t F4 = 0x3E;   ///< F4.
inline constexpr int32_t F5 = 0x3F;   ///< F5.
inline constexpr int32_t F6 = 0x40;   ///< F6.
inline constexpr int32_t F7 = 0x41;   ///< F7.
inline constexpr int32_t F8 = 0x42;   ///< F8.
inline constexpr int32_t F9 = 0x43;   ///< F9.
inline constexpr int32_t F10 = 0x44;  ///< F10.
inline constexpr int32_t F11 = 0x57;  ///< F11.
inline constexpr int32_t F12 = 0x58;  ///< F12.
/// @}

}  // namespace Key

}  // namespace tovak2d
