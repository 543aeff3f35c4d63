// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// The class Engine: the window's frame, textures and text, keyboard and mouse, sound effects.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tovak2d/NonCopyable.h"
#include "tovak2d/Types.h"

namespace tovak2d {

struct EngineState;

/// The window, the sprites and text drawn on it, the keyboard and mouse, and the sound effects.
/// Start it once on the game window, use it every frame, and unload it before it goes away.
///
/// A game makes one Engine, starts it with Tovak2D_Start on its SDL window and then draws every
/// frame the same way:
///
/// ~~~{.cpp}
/// engine.ClearScreen();                         // the frame starts black
/// engine.Draw(background, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
/// engine.DrawText(font, "SCORE 100", 20, 20);   // bitmap-font text
/// engine.DrawFont("title", 0, 10, 800, 40, "Level 1", -1, 1);
/// engine.RenderAll();                           // show it, read the input, keep the frame rate
/// ~~~
///
/// Keyboard and mouse are read once a frame by RenderAll; GetKeyDown, GetKeyPressed, GetKeyUp,
/// GetMouseState and TakeDroppedFiles then answer from that snapshot. Key codes are the PC keyboard's scan codes,
/// named in `<tovak2d/Keys.h>` (@ref keycodes "table on the main page"). Sound effects are
/// loaded under names with CreateSound and played with SoundPlay; music is the job of MP3Player.
///
/// The file names, the text encoding, the colour formats and the log lines every call shares are
/// described on the main page (@ref rules). In short: relative names are taken from the
/// application folder given to Tovak2D_Start, backslashes and any letter case are accepted, text is
/// Windows-1252, colours are ARGB values (-1 is opaque white), and failures are written to
/// `log.txt` in the application folder instead of being thrown.
///
/// Every call is safe in any order. Before Tovak2D_Start and after Tovak2D_Unload the drawing
/// calls draw nothing, RenderAll only keeps the frame rate, the key queries answer from the last
/// frame read (false before the first start), and the loading calls log why they could not load
/// (@ref misuse). Tovak2D_Unload twice only logs `APPLICATION ENDED` again, and an engine
/// started again after Tovak2D_Unload works as on its first start (but the names of its sound
/// effects stay taken, see CreateSound).
///
/// The application folder, the window, the drawing resolution, the mouse position reported last
/// and the frame-rate counters exist once per process and are shared by every Engine, Extra
/// and MP3Player; the textures' device, the fonts, the sounds and the key latches belong to one
/// Engine. All calls belong on the thread that made the window.
class TOVAK2D_API Engine : private NonCopyable {
 public:
  /// Makes an engine that is not started yet: it draws nothing and plays nothing until
  /// Tovak2D_Start (or Tovak2D_Start_OnlySound).
  Engine();
  /// Releases what the engine still holds. An engine dropped without Tovak2D_Unload still gives
  /// back its device, keyboard and mouse, sounds and fonts (without the log line of
  /// Tovak2D_Unload).
  ~Engine();

  /// While true, SetMouseHide leaves the system cursor alone. Starts false; SetDebugMode sets it
  /// as well.
  bool DebugMode = false;

  /// Starts the engine on the game window: the graphics device, keyboard and mouse, the sound
  /// device and the bitmap-font layout.
  ///
  /// In this order it stores the window and the application folder, writes the start banner to
  /// `log.txt` (see @ref log), places the window (windowed mode only: its outer size becomes
  /// oScrWidth x oScrHeight times the desktop's scale, it is centred on the primary screen, shown,
  /// and kept above other windows when WinOnTop is true), makes the graphics device, starts the
  /// keyboard and mouse and the sound, reads the bitmap-font layout `font.ini` (see DrawText), sets
  /// the ambient colour to white (AmbientColor) and writes
  /// `Engine Init: Step 1, 2, 3, 4, 5, 6, 7, DONE!`, then a line naming the video driver, the
  /// drawing path, the sound and the scale (`Desktop: video x11, drawing compositor, ...`) when
  /// any of them differs from the last start's.
  ///
  /// - When the graphics device cannot be made, the line `DirectX Error, trying windowed mode!`
  ///   is logged and it is made once more in windowed mode (the progress line then reads
  ///   `Engine Init: Step 1, 2, 3, 3, 4, 5, 6, 7, DONE!`); a second failure ends the start.
  /// - When the video system cannot be started, a message box `Install DirectX 8.1 or better`
  ///   (title `DirectX Error`) is shown; the start then goes on (and fails). When the log cannot
  ///   be written, a message box (title `Log Error`) names the file and the cause; the start goes
  ///   on without the log.
  /// - Keyboard and mouse that cannot be used are logged as
  ///   `Error in Initilize_DxInput() : <reason>`, a sound device that cannot be opened as
  ///   `Error in Initilize_Soundcard() : <reason>` (the driver, the device and SDL's message);
  ///   the engine then starts without them (no key is ever down). The sound then plays into
  ///   nothing, at a device's pace, while the engine looks for a device every two seconds: once
  ///   one is there, effects and music are heard from where they are (see SoundDeviceFound). A
  ///   device that goes away (a sound server restarted) is replaced the same way. Each change
  ///   writes the `Desktop:` line again, from the next RenderAll.
  /// - A missing `font.ini` is logged as <tt>File is missing : \<folder\>\\font.ini</tt> and written with
  ///   the default layout. A `font.ini` whose sizes or positions are not numbers fails the start.
  ///
  /// Starting an engine again replaces its device: textures loaded on the earlier start no
  /// longer draw. The application folder and the screen sizes of the last start hold for the
  /// whole process.
  ///
  /// @param hWnd        The game window, made by the game with `SDL_CreateWindow` (it may be
  ///                    hidden; the engine shows it in windowed mode). nullptr fails the start.
  /// @param pAppPath    The application folder: every relative file name of the engine is taken
  ///                    from it, and `log.txt` is written there (@ref paths). A full path without
  ///                    a trailing separator, in Windows-1252.
  /// @param oResWidth   Width of the back buffer, the picture the game draws, in pixels; rounded
  ///                    to a whole number (halves to even). Default 800.
  /// @param oResHeight  Height of the back buffer in pixels. Default 600.
  /// @param oFullScreen true: full screen in the desktop's display mode, the back buffer scaled
  ///                    to fit with black bars as needed. false (default): a window.
  /// @param oScrWidth   Windowed mode: the window's outer width, frame included, in pixels. 0
  ///                    (default) makes the window the back buffer's size, and oScrHeight is
  ///                    then not looked at.
  /// @param oScrHeight  Windowed mode: the window's outer height in pixels (used when oScrWidth
  ///                    is not 0). Default 0.
  /// @param WinOnTop    Windowed mode: keep the window above all ordinary windows (default
  ///                    true); false takes it out of that band.
  /// @return true when the engine runs. false when it could not start; the reason is logged as
  ///         `Error in Tovak2D_Start : <reason>` (for example `no window for the graphics device`
  ///         or <tt>font.ini: Letter sizes Width is not a number: 'x'</tt>).
  bool Tovak2D_Start(WindowHandle hWnd, const std::string& pAppPath, float oResWidth = 800,
                     float oResHeight = 600, bool oFullScreen = false, float oScrWidth = 0,
                     float oScrHeight = 0, bool WinOnTop = true);
  /// Starts the sound alone; hWnd may be nullptr.
  ///
  /// For programs without graphics (a command-line tool on Extra, a sound test): it stores the
  /// window and the application folder, writes four banner lines (the `#` line, the start line,
  /// `### USING ONLY SOUND ENGINE                  ###` and the `#` line again) and opens the
  /// sound device. No graphics device, keyboard, mouse or bitmap font is made; the drawing calls
  /// then draw nothing. The drawing resolution and window mode of an earlier Tovak2D_Start
  /// stay as they were.
  ///
  /// @param hWnd     The game window, or nullptr for none.
  /// @param pAppPath The application folder (as for Tovak2D_Start).
  /// @return true. A sound device that cannot be opened is logged as
  ///         `Error in Initilize_Soundcard() : <reason>`, and the sound is heard once one is
  ///         found (as for Tovak2D_Start); an
  ///         unexpected failure returns false with `Error in Tovak2D_Start_OnlySound : <reason>`.
  bool Tovak2D_Start_OnlySound(WindowHandle hWnd, const std::string& pAppPath);

  /// Whether a key is held, as of the last RenderAll: true in every frame while it is held.
  /// A key pressed and released again between two frames counts as held for one frame, so a
  /// quick tap is not lost. While the window does not have the focus the answers stay as they
  /// were when it lost it.
  /// @param Key The key's scan code (@ref keycodes), for example Key::Escape (0x01).
  /// @return true while the key is down; false when it is up, for a code outside 0 to 255,
  ///         and before the first start.
  bool GetKeyDown(int32_t Key);
  /// Whether a key was released: true once, in the first call after the key came up, provided
  /// an earlier GetKeyUp call for that key saw it down.
  ///
  /// The latch is kept per engine and per key, and changes only inside this call: ask about the
  /// key in every frame to see every release.
  /// @param Key The key's scan code (@ref keycodes).
  /// @return true for the release, false otherwise (and for a code outside 0 to 255).
  bool GetKeyUp(int32_t Key);
  /// Whether a key was pressed: true once, in the first call after the key went down, then false
  /// until it is released and pressed again.
  ///
  /// The latch is kept per engine and per key, independently of GetKeyUp's; ask in every frame.
  /// @param Key The key's scan code (@ref keycodes), for example Key::S (0x1F).
  /// @return true for the press, false otherwise (and for a code outside 0 to 255).
  bool GetKeyPressed(int32_t Key);
  /// Reports the mouse: position, wheel, buttons held, and presses and releases since the
  /// last report.
  ///
  /// The states come from the snapshot of the last RenderAll; a press or release is reported
  /// once, by the first call after it (see Mouse). Calling it twice in a frame reports each edge
  /// once but adds that frame's wheel movement twice. The position reported also becomes the
  /// one Extra::IsMouseOverArea tests, for every Engine and Extra of the process. While the
  /// window does not have the focus, buttons stay as last seen and the wheel does not move;
  /// the position follows the cursor over the window.
  /// @param ret_Mouse Filled with the state (every field is set).
  /// @return false, always.
  bool GetMouseState(Mouse& ret_Mouse);
  /// Moves the mouse cursor to a point of the drawing.
  ///
  /// The point also becomes the mouse position Extra::IsMouseOverArea tests, until the next
  /// GetMouseState. Before a start only that position is set.
  /// @param posX Horizontal position in back-buffer pixels from the drawing's left edge.
  /// @param posY Vertical position in back-buffer pixels from the drawing's top edge.
  void SetMousePos(int32_t posX, int32_t posY);
  /// Takes the files and folders dropped on the game window (from a file manager, say) since
  /// the last call.
  ///
  /// Drops are collected while RenderAll handles window events, with or without the focus, and
  /// handed out by the first call after the RenderAll that saw them end; the call forgets them.
  /// A drop of several files gives their paths in the order the source sent them. Dragged text
  /// is not taken. At most 4096 paths are kept between two calls; more are left out. Before a
  /// start, and without keyboard and mouse, nothing is dropped.
  /// @return the full paths in the file system, UTF-8 (a `file://` address a source sent is
  ///         turned into its path); empty when nothing was dropped.
  std::vector<std::string> TakeDroppedFiles();

  /// Whether a sound device plays the engine's sound now.
  /// @return false before a start, while none was found, and for a while after one went away
  ///         (the engine looks for one every two seconds): a game can tell the player why it is
  ///         silent.
  bool SoundDeviceFound();
  /// Loads a sound effect from a wave file under a name.
  ///
  /// The whole file is decoded into memory: RIFF wave of 8- or 16-bit PCM or IMA ADPCM, mono or
  /// stereo, 100 Hz to 200 kHz, at most 256 MB once decoded. Each name holds one effect with
  /// one voice: playing it again restarts it.
  ///
  /// - Before a start nothing happens and nothing is logged. Without a sound device the effect
  ///   is loaded all the same, to be heard once a device is found.
  /// - A missing file is logged as `File is missing : <folder>\<pFilename>`; nothing is made.
  /// - A name already taken (letter case aside) shows a message box (title `DirectX Error`)
  ///   with the two lines `Error importing sound KeyName.` and <tt>'click' already exists!</tt> (the
  ///   name in lower case) and keeps the existing effect.
  /// - A file that cannot be read or decoded is logged as
  ///   `Error in CreateSound(<folder>\<pFilename>) : <reason>`; the name stays taken without a
  ///   sound, so playing it does nothing.
  ///
  /// The names stay taken for the engine's life, also across Tovak2D_Unload and a new start:
  /// after a new start, load the effects under new names or use a new Engine.
  /// @param sndName   The effect's name; letter case does not matter ("Click" and "click" are
  ///                  one effect).
  /// @param pFilename The wave file, relative to the application folder (@ref paths).
  void CreateSound(const std::string& sndName, const std::string& pFilename);
  /// Plays a sound effect from its beginning, with volume, pan and frequency.
  ///
  /// The three settings are applied one by one; a value out of range is refused and leaves
  /// that setting as it was, the rest still applied. Playing an effect that is still playing
  /// restarts it. An unknown name, or no start, does nothing and logs nothing. Without a sound
  /// device the effect plays into nothing, and what is left of it is heard when one is found.
  /// @param sndName      The effect's name as given to CreateSound (any letter case).
  /// @param sndLoop      true: loop until SoundStop; false (default): play once.
  /// @param sndVolume    Volume 0 (silent) to 100 (full, the default); each step is one decibel
  ///                     (50 is 50 dB below full). 0 sets silence and does not start the effect
  ///                     at all, nor does a negative value (which is refused). Above 100 is
  ///                     refused (the volume stays as it was) and the effect still starts.
  /// @param sndPan       Balance from -100 (left only) to 100 (right only); 0 (default) is
  ///                     centred. A positive value lowers the left channel by that many decibels,
  ///                     a negative one the right channel. Outside the range it is refused.
  /// @param sndFrequency Playback rate in kilohertz: 22 plays the samples at 22,000 Hz, so a
  ///                     file made at 44,100 Hz sounds half as fast and an octave lower. 0
  ///                     (default) plays at the file's own rate. Above 200 or below 0 is
  ///                     refused.
  void SoundPlay(const std::string& sndName, bool sndLoop = false, int32_t sndVolume = 100,
                 int32_t sndPan = 0, int32_t sndFrequency = 0);
  /// Changes a sound effect's volume without starting or stopping it.
  /// @param sndName   The effect's name (any letter case); an unknown name does nothing.
  /// @param sndVolume Volume 0 (silent) to 100 (full, the default), as for SoundPlay; above
  ///                  100 is refused.
  void SoundVolume(const std::string& sndName, int32_t sndVolume = 100);
  /// Changes a sound effect's playback rate without starting or stopping it.
  /// @param sndName      The effect's name (any letter case); an unknown name does nothing.
  /// @param sndFrequency Rate in kilohertz, as for SoundPlay; 0 (default) is the file's own
  ///                     rate. Above 200 or below 0 is refused.
  void SoundFrequency(const std::string& sndName, int32_t sndFrequency = 0);
  /// Stops one sound effect, or all of them.
  ///
  /// An unknown name does nothing; nothing is logged. SoundPlay always starts from the
  /// beginning, so a paused effect cannot be resumed where it stopped.
  /// @param sndName  The effect's name (any letter case); empty (default) stops every effect.
  /// @param sndPause false (default): stop and go back to the start. true: stop and keep the
  ///                 position.
  void SoundStop(const std::string& sndName = "", bool sndPause = false);

  /// Loads a picture file into a texture.
  ///
  /// BMP, JPEG, PNG and DDS files are read (told apart by their contents), at most 8192 pixels a
  /// side. The texture's size is the picture's, each side rounded up to a power of two, and the
  /// picture is stretched over the whole texture: an 800 x 600 JPEG becomes a 1024 x 1024
  /// texture, drawn at its own size with Draw(tex, x, y, 1024, 1024, 0, 100, 0, 0, 800, 600).
  /// The texture tells both sizes: Texture::Width and Texture::Height (1024), and
  /// Texture::PictureWidth and Texture::PictureHeight (800 and 600).
  ///
  /// The optional texture-size file `t2do.ini` in the application folder gives other sizes, one
  /// key per picture in the section `[file_texture_sizes]`: the file name exactly as passed here
  /// (letter case aside), then width `x` height, for example `ball.png=256x128` (blanks and the
  /// case of the `x` do not matter; sides above 16384 are refused). Its absence is not logged.
  ///
  /// Failures are logged and leave DXTexture as it was (so an empty texture stays empty):
  /// - a missing file: `File is missing : <folder>\<FileName>`, then
  ///   `Error in CreateTextureEx : File is missing : <FileName>`;
  /// - anything else: `Error in CreateTextureEx : <reason>`, for example
  ///   `Error in CreateTextureEx : no graphics device` before Tovak2D_Start or after
  ///   Tovak2D_Unload, a damaged or unknown picture file, or a `t2do.ini` entry that is not of the
  ///   form 256x128.
  ///
  /// @param DXTexture   Receives the texture. Copies of a Texture share it; an earlier texture in
  ///                    this object is let go (and released when no copy holds it).
  /// @param FileName    The picture file, always relative to the application folder (a name
  ///                    already starting with the folder is taken as it is).
  /// @param transpColor The see-through colour as an ARGB value: texels exactly equal to it,
  ///                    alpha included, become transparent. 0 (default) means no see-through
  ///                    colour. Pictures without an alpha channel (24-bit BMP, JPEG) have
  ///                    alpha 0xFF, so their key is written with it:
  ///                    `ARGB(255, 255, 0, 255)` for opaque magenta; 0x00FF00FF
  ///                    matches only magenta texels whose alpha is 0.
  void CreateTexture(Texture& DXTexture, const std::string& FileName, int32_t transpColor = 0);
  /// Draws part of a texture as a sprite: scaled, turned, see-through, tinted by AmbientColor.
  ///
  /// The source rectangle runs from (SrcX, SrcY) to (SrcX + Width, SrcY + Height) in texels, cut
  /// to the texture. It is scaled about its top-left corner, turned about the centre and its
  /// top-left corner put at (X, Y); see SpriteVars. Every texel is multiplied by the ambient
  /// colour (AmbientColor) and by the opacity AlphaTransp, and blended over the frame.
  ///
  /// Nothing is drawn for an empty or inert texture, before Tovak2D_Start or after
  /// Tovak2D_Unload; nothing is ever reported.
  /// @param DXTexture       The texture (CreateTexture).
  /// @param X               Screen position of the sprite's left edge before rotation, in
  ///                        back-buffer pixels.
  /// @param Y               Screen position of the sprite's top edge before rotation.
  /// @param Width           Width of the source rectangle in texels of the texture, which is
  ///                        the picture stretched to powers of two (Texture::Width); the
  ///                        picture's own size is Texture::PictureWidth (@ref surprises).
  /// @param Height          Height of the source rectangle in texels.
  /// @param RotationAng     Rotation in degrees; a positive angle turns the sprite anticlockwise
  ///                        on the screen, unlike SpriteVars::Rotation and the angles of Extra
  ///                        (@ref angles). Default 0.
  /// @param AlphaTransp     Opacity in percent: 100 (default) opaque, 50 half (alpha 128), 0
  ///                        invisible.
  /// @param SrcX            Left edge of the source rectangle in texels. Default 0.
  /// @param SrcY            Top edge of the source rectangle in texels. Default 0.
  /// @param scaleWidth      0 (default): draw one texel per pixel. Otherwise the horizontal
  ///                        scale is scaleWidth / (SrcX + Width): with SrcX 0 the sprite is drawn
  ///                        scaleWidth pixels wide; with a source rectangle further right it
  ///                        comes out narrower (a 32-texel cell at SrcX 32 drawn with scaleWidth
  ///                        32 is 16 pixels wide).
  /// @param scaleHeight     Used when scaleWidth is not 0: the vertical scale is
  ///                        scaleHeight / (SrcY + Height). Default 0.
  /// @param centerRotationX -1 (default): turn about the middle of the scaled sprite. Otherwise
  ///                        the centre's distance from the scaled sprite's left edge, in pixels.
  /// @param centerRotationY The centre's distance from the scaled sprite's top edge; not looked
  ///                        at while centerRotationX is -1. Default -1.
  void Draw(const Texture& DXTexture, float X, float Y, float Width, float Height, float RotationAng = 0,
            int16_t AlphaTransp = 100, float SrcX = 0, float SrcY = 0, float scaleWidth = 0,
            float scaleHeight = 0, float centerRotationX = -1, float centerRotationY = -1);
  /// Draws a line of bitmap-font text: one cell of a font texture for each character.
  ///
  /// Which character sits in which cell is read from `font.ini` in the application folder at
  /// Tovak2D_Start. The file has 121 cells, numbered 0 to 120:
  /// `[Signs value]` gives each cell's character (`11=A`), `[Signs position]` its top-left texel
  /// (`11=1x24`) and `[Letter sizes]` the `Width` and `Height` of every cell in texels. When the
  /// file is missing it is written with the default layout: a grid of 11 x 11 cells, 23 texels
  /// apart, each glyph 22 x 22 texels, cell i at (23 (i mod 11) + 1, 23 (i div 11) + 1); cell 0
  /// a blank, 1 to 10 the digits 0 to 9, 11 to 36 the letters A to Z, 44 to 69 a to z, and 77 to
  /// 104 the characters . , : ; ' \" - + \\ / * = ( ) [ ] \< \> _ ! ? \# \& \$, the euro
  /// sign (0x80), \%, the copyright sign (0xA9) and \@; the other cells blank. The example data's
  /// `font_default.dds` has this layout.
  ///
  /// Each character takes the first cell whose character equals it (blanks around either
  /// ignored), cell 0 when none does. Characters advance by one whole cell width times
  /// ScaleSize along the screen's x axis; there is no kerning and no line break. The ambient
  /// colour is not used. An empty text, an empty texture, or a call before Tovak2D_Start or after
  /// Tovak2D_Unload draws nothing; nothing is ever reported.
  /// @param DXTexture   The font texture (CreateTexture).
  /// @param varText     The text, Windows-1252 (Utf8ToCp1252 converts UTF-8 text).
  /// @param X           Left edge of the first character, in back-buffer pixels.
  /// @param Y           Top edge of the characters.
  /// @param ScaleSize   Size factor of every cell; 1 (default) draws one texel per pixel.
  /// @param RotationAng Degrees; each character turns anticlockwise about its own centre, the
  ///                    line itself stays horizontal. Default 0.
  /// @param AlphaTransp Opacity in percent, 100 (default) opaque.
  /// @param cRed        Red of the tint, 0 to 255 (default 255: the font's own colours).
  /// @param cGreen      Green of the tint, 0 to 255 (default 255).
  /// @param cBlue       Blue of the tint, 0 to 255 (default 255).
  void DrawText(const Texture& DXTexture, const std::string& varText, float X, float Y, float ScaleSize = 1,
                float RotationAng = 0, int16_t AlphaTransp = 100, float cRed = 255, float cGreen = 255,
                float cBlue = 255);
  /// Fills the whole frame with one opaque colour; a frame usually starts with it.
  ///
  /// Each value is taken modulo 256 (its low 8 bits). Before Tovak2D_Start and after
  /// Tovak2D_Unload it does nothing.
  /// @param vRed   Red, 0 to 255. Default 0.
  /// @param vGreen Green, 0 to 255. Default 0.
  /// @param vBlue  Blue, 0 to 255. Default 0.
  void ClearScreen(int16_t vRed = 0, int16_t vGreen = 0, int16_t vBlue = 0);
  /// Sets the colour that tints every sprite Draw draws from now on.
  ///
  /// Each texel's red, green and blue are multiplied by value / 255: (255, 255, 255), set by
  /// Tovak2D_Start, shows the textures as they are; (255, 0, 0) keeps only their red. The values
  /// are rounded to whole numbers (halves to even) and stored unchecked; when drawing, values
  /// below 0 count as 0 and above 255 as 255. DrawText and DrawFont are not tinted. The colour
  /// belongs to this engine and lasts until the next call.
  /// @param cRed   Red, 0 to 255. Default 255.
  /// @param cGreen Green, 0 to 255. Default 255.
  /// @param cBlue  Blue, 0 to 255. Default 255.
  void AmbientColor(double cRed = 255, double cGreen = 255, double cBlue = 255);
  /// Sets the ambient colour from values given as text (for example read from an INI file).
  ///
  /// The texts are converted in the order red, green, blue, as numbers rounded to whole ones.
  /// At the first one that is not a number (an empty text included) a message box with the two
  /// lines `Error in AmbientColor()` and `Wrong RGB value!` (no title) is shown and the call ends: the
  /// channels converted before it keep their new values, the others their old ones.
  /// @param cRed   Red as text, for example "255".
  /// @param cGreen Green as text.
  /// @param cBlue  Blue as text.
  void AmbientColor(const std::string& cRed, const std::string& cGreen, const std::string& cBlue);
  /// Saves the frame as a picture file in the application folder.
  ///
  /// The file is the first free name of `screenshot001.bmp`, `screenshot002.bmp`, ...
  /// (at least three digits; gaps are filled, so with 001 and 003 present 002 is written), a
  /// 24-bit Windows BMP of the back buffer, without the window's frame. It shows the frame on
  /// screen; where the graphics driver keeps no copy of that frame, it shows the next frame, as
  /// RenderAll presents it (a screenshot still waiting at Tovak2D_Unload is taken from the last
  /// frame drawn). Nothing is saved when the application folder does not exist. A failure is
  /// logged as `Error in SaveScreenshot() : <reason>`, before Tovak2D_Start or after
  /// Tovak2D_Unload `Error in SaveScreenshot() : no graphics device`.
  void SaveScreenshot();
  /// Ends a frame: reads the keyboard and mouse, shows the frame, and waits for the frame rate.
  ///
  /// In order: the window's pending events are handled and the keyboard and mouse snapshot taken
  /// (the one GetKeyDown, GetKeyUp, GetKeyPressed and GetMouseState answer from until the next
  /// RenderAll); the frame is shown, scaled into the window; then the call waits until one frame
  /// period has passed since the end of the previous RenderAll (Extra::SetFPSLimit; without a
  /// cap, 2048 frames a second), handling window events meanwhile. The drawing calls after it
  /// make the next frame.
  ///
  /// The engine takes every SDL event from the queue, so a game watches the events it wants
  /// (the window's close button: `SDL_QUIT`) with `SDL_AddEventWatch`. Before Tovak2D_Start and
  /// after Tovak2D_Unload only the wait is done. Nothing is reported. With the environment
  /// variable `TOVAK2D_FRAME_STATS` set, the moment the first frame was shown, and at
  /// Tovak2D_Unload the frame rate, are written to standard error.
  void RenderAll();

  /// Makes a system font (an installed typeface) under a key name, for DrawFont.
  ///
  /// The installed typeface closest to FontName is used; a name that is not installed falls back
  /// to a similar kind of typeface (monospace for Courier-like names, serif for Times-like names,
  /// sans-serif otherwise), and a face without its own bold or italic is thickened or slanted.
  /// The size is in points at 96 dots per inch (12 points are 16 pixels high).
  ///
  /// - A key already taken (letter case aside) shows a message box (title `DirectX Error`)
  ///   with the two lines `Error importing fonts KeyName.` and <tt>'title' already exists!</tt> (the
  ///   key in lower case) and keeps the existing font.
  /// - A font that cannot be made is logged as `Error in CreateFont : <FontName>: <reason>`
  ///   (`no graphics device` before Tovak2D_Start or after Tovak2D_Unload, a size of 0 or less,
  ///   no typeface installed); the key stays taken and draws nothing until Tovak2D_Unload.
  ///
  /// Tovak2D_Unload releases every font and frees the keys.
  /// @param KeyName   The name DrawFont uses; letter case does not matter.
  /// @param FontName  The typeface, for example "DejaVu Sans" or "Arial".
  /// @param FontSize  Size in points, above 0. Default 10.
  /// @param Boldovane true: bold. Default false.
  /// @param Italic    true: italic. Default false.
  void CreateFont(const std::string& KeyName, const std::string& FontName, int16_t FontSize = 10,
                  bool Boldovane = false, bool Italic = false);
  /// Draws text in a system font into a rectangle, wrapped at word boundaries.
  ///
  /// Lines end at CR LF, a lone CR or a lone LF; a line wider than the rectangle is broken at
  /// its last blank that fits (a word wider than the rectangle stays whole). Text outside the
  /// rectangle is cut off. txtPosition combines these flags (word breaking is always added):
  ///
  /// | Flag | Value | Effect |
  /// |---|---|---|
  /// | left, top | 0 | lines start at the left edge; the text at the top edge |
  /// | centre | 1 | each line centred horizontally |
  /// | right | 2 | each line against the right edge |
  /// | vertical centre | 4 | single-line text only: centred vertically |
  /// | bottom | 8 | single-line text only: against the bottom edge |
  /// | single line | 32 | one line whatever the text holds, no wrapping |
  /// | no clipping | 256 | text outside the rectangle is drawn too |
  /// | measure only | 1024 | nothing is drawn |
  ///
  /// So 5 (centre + vertical centre without single line) centres each line and starts at the
  /// top; 37 centres one line in both directions. An unknown key, a font that could not be made,
  /// or a call before Tovak2D_Start or after Tovak2D_Unload draws nothing; nothing is reported.
  /// @param KeyName     The font's key (CreateFont), any letter case.
  /// @param X           Left edge of the rectangle, in back-buffer pixels (rounded to whole
  ///                    pixels, as are the other edges).
  /// @param Y           Top edge of the rectangle.
  /// @param rectWidth   Width of the rectangle.
  /// @param rectHeight  Height of the rectangle.
  /// @param fntText     The text, Windows-1252: a UTF-8 literal such as `"café"` draws wrongly;
  ///                    convert it with Utf8ToCp1252 (`<tovak2d/CodePage.h>`).
  /// @param fntColor    The colour as an ARGB value; -1 (default) is opaque white,
  ///                    `ARGB(255, 255, 0, 0)` opaque red (0xFF0000 has alpha 0: invisible).
  /// @param txtPosition Layout flags (table above); 0 (default) left and top.
  void DrawFont(const std::string& KeyName, float X, float Y, float rectWidth, float rectHeight,
                const std::string& fntText, int32_t fntColor = -1, int32_t txtPosition = 0);

  /// Hides or shows the mouse cursor over the window.
  ///
  /// Hides and shows are counted as a pair of calls: the cursor is visible while the shows are
  /// at least as many as the hides, so two hides need two shows. While DebugMode is true the
  /// call does nothing, so the cursor stays visible for debugging.
  /// @param cShow true (default) hides the cursor once, false shows it once.
  void SetMouseHide(bool cShow = true);
  /// The engine's name and version.
  /// @return "Tovak2D Engine v0.9.23".
  std::string Version();
  /// Sets DebugMode.
  /// @param TrueFalse The new value of DebugMode; default false.
  void SetDebugMode(bool TrueFalse = false);
  /// Stops the engine: logs `APPLICATION ENDED`, then releases keyboard and mouse, the sound
  /// effects, the fonts and the graphics device.
  ///
  /// Screenshots still waiting for a frame are saved first. Every step runs whatever happened
  /// before; nothing fails. Textures the game still holds become inert (they draw nothing; their
  /// memory goes with their last copy). The sound effects' names stay taken; the font keys are
  /// freed. Calling it again only logs `APPLICATION ENDED` again; the engine can be started
  /// anew with Tovak2D_Start.
  void Tovak2D_Unload();

 private:
  friend struct EngineAccess;  // lets the library's own modules reach the state
  std::unique_ptr<EngineState> d_;
};

/// Turns the engine's message boxes into lines of `log.txt`, for the whole process.
///
/// A message box waits until the user clicks it away, which a game in full-screen mode, a program
/// without a user (a server, a tool run by a script) or a test cannot afford. After
/// `LogMessageBoxes()` each box the engine would show (a name already taken, a failed start,
/// an archive's notices, ...) is written instead as one line,
/// `Message box [<title>] <text>`, line breaks turned into blanks, to the application folder's
/// `log.txt`; before a start, when there is no log yet, the line goes to standard error.
/// The calls behave as they would after the box was clicked away.
///
/// Without this call a box is shown when there is a display; with no display, under SDL's
/// `dummy` or `offscreen` video driver or while the environment variable
/// `TOVAK2D_QUIET_DIALOGS` is set, its title and text go to standard error instead.
/// @param Enable true (default): log the boxes from now on. false: show them again as
///               described above.
TOVAK2D_API void LogMessageBoxes(bool Enable = true);

/// Shows a program's own error box over its window and waits until it is clicked away.
///
/// The box is the one the engine's own messages use, with an error icon. While it is open over an
/// X11 window, a TERM or INT signal (which SDL's handler turns into `SDL_QUIT` at the next event
/// pass, which the box holds up) closes it as its close button would, so that a program that ends
/// on `SDL_QUIT` ends in order instead of waiting for a click; a signal whose handler is the
/// default still ends the process.
/// @param Text  The message, in UTF-8.
/// @param Title The box's title, in UTF-8.
/// @param Owner The window the box belongs to; nullptr shows it alone, and then a signal does
///              not close it.
/// @return false when no box was shown: no display, SDL's `dummy` or `offscreen` video driver,
///         `TOVAK2D_QUIET_DIALOGS` set, or SDL failed; the caller tells the user another way.
///         `LogMessageBoxes()` does not apply to this call.
TOVAK2D_API bool ShowErrorBox(const std::string& Text, const std::string& Title, WindowHandle Owner = nullptr);

}  // namespace tovak2d
