// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// NonCopyable: the base of the engine's classes whose objects are neither copied nor assigned.

namespace tovak2d {

/// Base of the classes whose objects each own something of their own (Engine its device, fonts
/// and sounds; Extra its high-score table; MP3Player its file and its voice in the mixer;
/// IniReadBatch one batch): such an object is neither copied nor assigned, and a copy or an
/// assignment does not compile. Moving is not offered either. The base adds no data and no calls.
class NonCopyable {
 public:
  /// Objects of a NonCopyable class are not copied.
  NonCopyable(const NonCopyable&) = delete;
  /// Objects of a NonCopyable class are not assigned.
  /// @return never returns; the assignment does not exist.
  NonCopyable& operator=(const NonCopyable&) = delete;

 protected:
  /// Made only as the base of another class.
  NonCopyable() = default;
  /// Destroyed only as the base of another class.
  ~NonCopyable() = default;
};

}  // namespace tovak2d
