// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// The class MP3Player: one piece of music streamed from disk.

#include <cstdint>
#include <memory>
#include <string>

#include "tovak2d/NonCopyable.h"
#include "tovak2d/Types.h"

namespace tovak2d {

struct MusicState;

/// Plays one music file (Windows Media Audio, MP3, Ogg Vorbis, FLAC, WAV), streamed from disk.
///
/// The file is decoded a little ahead while it plays, on a thread of its own, so playback goes
/// on between the game's calls. The player does not loop: a game that wants the music to go on
/// checks every frame whether GetCurrentPosition has reached GetDuration and then calls
/// PlayMP3(true).
///
/// MP3Player works without an Engine object but needs the application folder and the log of an
/// Engine's start (Engine::Tovak2D_Start or Engine::Tovak2D_Start_OnlySound), so start an engine
/// first. It shares the sound device with the engine's sound effects. Every call other than
/// LoadMP3 does nothing, and reports nothing, while no file is loaded.
class TOVAK2D_API MP3Player : private NonCopyable {
 public:
  /// Makes a player with no file loaded.
  MP3Player();
  /// Stops the music and releases the file.
  ~MP3Player();

  /// Loads a music file, ready to play from its start at full volume, centred.
  ///
  /// A file loaded before is stopped and released first, also when the new one fails. The file
  /// is opened and its first sound decoded here, so a file without playable sound is refused at
  /// once.
  /// @param FileName The music file (@ref paths).
  /// @return true when the file is loaded (and stopped at its start), also while there is no
  ///         sound device: it then plays into nothing and is heard, where it has got to, once a
  ///         device is found. false when it is missing or cannot be decoded; the line
  ///         `Error loading MP3 file: <folder>\<FileName>` is logged. Before any start of an
  ///         Engine there is no application folder and the load fails the same way.
  bool LoadMP3(const std::string& FileName);
  /// The playing position.
  /// @return seconds from the start, rounded (halves to even); the length once the end has been
  ///         played; 0 when no file is loaded.
  int32_t GetCurrentPosition();        // seconds
  /// The length of the loaded file.
  /// @return seconds, rounded (halves to even: 61.5 gives 62, 60.5 gives 60); 0 when no file is
  ///         loaded or its length is not known.
  int32_t GetDuration();               // seconds
  /// Sets the music's volume, or stops it for a volume below 1.
  ///
  /// The volume is 1 to 100, each step one decibel (100 full, 50 is 50 dB below full). A value
  /// below 1 stops the music and goes back to its start (as StopMP3(false)), the volume staying
  /// as it was.
  /// @param sndVolume The volume; a value above 100 is clamped, in the caller's variable too.
  void SetVolume(int32_t& sndVolume);  // a value above 100 is clamped, in the caller's variable too
  /// Sets full volume (100).
  void SetVolume();
  /// Starts the music, or goes on where it stopped.
  ///
  /// At the end of the file there is nothing left to play until StartOver rewinds it.
  /// @param StartOver true: play from the start. false (default): from the current position.
  void PlayMP3(bool StartOver = false);
  /// Stops the music.
  /// @param sndPause false (default): stop and go back to the start. true: pause, so that
  ///                 PlayMP3() goes on from here.
  void StopMP3(bool sndPause = false);

 private:
  std::unique_ptr<MusicState> d_;
};

}  // namespace tovak2d
