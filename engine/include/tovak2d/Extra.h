// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// The class Extra: archives, high-score tables, INI files, frame timing, geometry, files and the
/// web.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tovak2d/NonCopyable.h"
#include "tovak2d/Types.h"

namespace tovak2d {

/// Key byte EnDeCode uses when the caller gives none.
inline constexpr uint8_t kDefaultCodeByte = 0x5A;

/// Thrown by the geometry helpers for an invalid operation (GetAngle of two equal points).
class TOVAK2D_API MathError : public std::domain_error {
 public:
  /// Takes the message, as std::domain_error does.
  using std::domain_error::domain_error;
};

struct HighScoreTable;

/// The state of the folder chooser (Extra::ChooseFolder_Poll).
enum class FolderChoice { kNone, kOpen, kChosen, kCancelled };

/// Archives, high-score tables, INI files, frame timing, geometry, files and the web.
/// The open archive and the frame-timing counters are shared by every Extra in the process;
/// the high-score table belongs to one Extra object.
///
/// File names follow the engine's rule (@ref paths): a relative name is taken from the
/// application folder, which a start of an Engine (Engine::Tovak2D_Start, or
/// Engine::Tovak2D_Start_OnlySound for a program without graphics) sets. Start one before the
/// first file call. Failures are logged to `log.txt` there and answered by the result; only
/// GetAngle throws.
///
/// **Archives.** One archive is open at a time for the whole process (PAK_OpenPAK). An archive
/// is a plain file of entries, each a name and the file's bytes, stored uncompressed in the
/// order they were added; entries are looked up by their short name (the text after the last
/// backslash), letter case aside. A new archive is an empty file. The archive is never held open
/// between calls; when another program changed it, the next call reads it again and logs
/// `PAK - The archive changed on disk and is read again : <path>`.
///
/// **High-score tables.** HighScore_Create binds this object to an INI file of ranked scores;
/// HighScore_NewScore enters a score and writes the rows it moved at once.
///
/// **Frame timing.** Engine::RenderAll waits for the cap set with SetFPSLimit and counts the
/// frames GetFps reports.
class TOVAK2D_API Extra : private NonCopyable {
 public:
  /// Makes an Extra without a high-score table.
  Extra();
  /// Releases the high-score table. The open archive stays open for the other Extra objects.
  ~Extra();

  /// Binds this object to a high-score table file and loads it; a missing file is made.
  ///
  /// The file is an INI file (see INIRead) with the section `[setup]` (`TopX` and
  /// `additionalValues`) and the section `[scores]`, which holds for each row r the keys
  /// `r_score`, `r_name` and `r_value_0` to `r_value_<additionalValues>`. Rows 1 to TopX are the
  /// ranks, 1 the best; row TopX + 1 holds the row last pushed off the bottom; row 0 is loaded but
  /// never written. Scores are loaded rounded down to whole numbers (12.7 loads as 12).
  ///
  /// When the file does not exist its `[setup]` section is written from TopX and
  /// additionalValues, and the missing file is logged as
  /// `File is missing : <folder>\<resolved path>`. When it exists, its `[setup]` values replace
  /// the caller's. A table whose `[setup]` values are not numbers or lie outside the ranges
  /// below, or a score that is not a number, is logged as
  /// `Error in loading HighScores : <resolved path>`; the object then has no table and the other
  /// HighScore calls return 0 or empty text.
  ///
  /// @param FileName         The table file (@ref paths); receives the resolved path.
  /// @param TopX             The number of ranks, 0 to 100, for a new file; receives the number
  ///                         stored in an existing one.
  /// @param additionalValues The highest index of the extra texts kept with each score, 0 to 16
  ///                         (0: one extra text per row), for a new file; receives the number
  ///                         stored in an existing one.
  /// @return true when the table is loaded, false after the log line above.
  bool HighScore_Create(std::string& FileName, int16_t& TopX, int16_t& additionalValues);
  /// Binds this object to a high-score table file with one extra text per row for a new file
  /// (additionalValues 0); otherwise as the full form.
  /// @param FileName The table file; receives the resolved path.
  /// @param TopX     The number of ranks for a new file; receives the stored number.
  /// @return true when the table is loaded.
  bool HighScore_Create(std::string& FileName, int16_t& TopX);
  /// Binds this object to a high-score table file of 10 ranks (for a new file).
  /// @param FileName The table file; receives the resolved path.
  /// @return true when the table is loaded.
  bool HighScore_Create(std::string& FileName);
  /// Binds this object to the table `hs.ini` in the application folder (10 ranks for a new file).
  /// @return true when the table is loaded.
  bool HighScore_Create();
  /// Enters a score into the table, if it reaches it, and writes the changed rows to the file.
  ///
  /// The score moves up from the bottom past every rank whose score it beats strictly; each row
  /// it passes moves one down and is written at once (the last rank's row into row TopX + 1).
  /// A score equal to one in the table ranks below it, so a score equal to the last rank's does
  /// not enter. Write failures are not reported; the table in memory is updated regardless.
  /// @param Score The score.
  /// @param Name  The player's name, Windows-1252.
  /// @param Value The extra texts, element k for value k; elements the table does not keep are
  ///              ignored, and values not given keep what the row held before.
  /// @return the rank taken, 1 to TopX; 0 when the score did not enter or no table is loaded.
  int16_t HighScore_NewScore(float Score, const std::string& Name, const std::vector<std::string>& Value);
  /// The rank a score would take, without entering it.
  /// @param Score The score.
  /// @return the first rank whose score is below Score; TopX + 1 when it would not enter; 0 when
  ///         no table is loaded.
  int16_t HighScore_CheckPos(float Score);
  /// The score of a row.
  /// @param Index The row, 0 to TopX + 1 (1 the best rank).
  /// @return the score; 0 for an empty row, an index outside the table, or no table.
  float HighScore_GetScore(int16_t Index);
  /// The name of a row.
  /// @param Index The row, 0 to TopX + 1.
  /// @return the name; empty for an index outside the table or no table.
  std::string HighScore_GetName(int16_t Index);
  /// One extra text of a row.
  /// @param Index      The row, 0 to TopX + 1.
  /// @param valueIndex The text's index, 0 to additionalValues.
  /// @return the text; empty for indexes outside the table or no table.
  std::string HighScore_GetValue(int16_t Index, int16_t valueIndex);

  /// Opens an archive; it becomes the one every other PAK call works on.
  ///
  /// The archive's index is read at once; the entries' bytes stay in the file until extracted.
  /// When the archive cannot be opened the one open before stays open.
  /// @param FileName         The archive file (@ref paths); used without the dialog. A missing
  ///                         file is logged as `File is missing : <folder>\<FileName>`, one
  ///                         that cannot be read as `PAK - Cannot read the archive : <path>
  ///                         (<reason>)`.
  /// @param ShowDialog       true: let the user choose the archive in the desktop's file dialog
  ///                         (see ShowOpenDialog) instead of FileName. Default false.
  /// @param Title            The dialog's title. Default "Open File".
  /// @param DialogOpenFolder The folder the dialog opens in (@ref paths); empty (default) is the
  ///                         application folder.
  /// @return true when the archive was opened; false for a missing or unreadable file, a
  ///         cancelled dialog or a desktop without a dialog program.
  bool PAK_OpenPAK(const std::string& FileName = "", bool ShowDialog = false,
                   const std::string& Title = "Open File", const std::string& DialogOpenFolder = "");
  /// Lets the user choose a file in the desktop's file-open dialog and waits until it is closed.
  ///
  /// The dialog is `zenity`, or `kdialog` without it. Nothing is shown when neither is installed,
  /// without a display, or under tests (the environment variable `TOVAK2D_QUIET_DIALOGS`, or
  /// `SDL_VIDEODRIVER` set to `dummy` or `offscreen`).
  /// @param Title      The dialog's title.
  /// @param openFolder The folder the dialog opens in (@ref paths); receives the folder the
  ///                   dialog opened in: a relative name (empty included) becomes the
  ///                   application folder, a backslash and the name.
  /// @return the chosen file as a full engine path (`Z:` and the path with backslashes, for
  ///         example <tt>Z:\\home\\jo\\games\\a.vnl</tt>, which every file call takes), or empty text when
  ///         the dialog was cancelled or could not be shown.
  std::string ShowOpenDialog(const std::string& Title, std::string& openFolder);
  /// Lets the user choose a file in the desktop's file-open dialog, opened in the application
  /// folder.
  /// @param Title The dialog's title. Default "Open File".
  /// @return the chosen file's full engine path, or empty text.
  std::string ShowOpenDialog(const std::string& Title = "Open File");
  /// Opens the desktop's folder chooser and returns at once: the program goes on (frames,
  /// music) while the user chooses; ChooseFolder_Poll, asked once a frame, tells the outcome.
  ///
  /// The chooser is the desktop portal's (`org.freedesktop.portal.FileChooser` on the session
  /// bus, asked for a folder), else `zenity`, else `kdialog`. Nothing is shown without a display,
  /// or with `SDL_VIDEODRIVER` set to `dummy` or `offscreen`; unlike message boxes, the chooser
  /// does not heed `TOVAK2D_QUIET_DIALOGS`, as it opens only at the user's request.
  /// @param Title The chooser's title.
  /// @return true when a chooser is shown; false when one is open already or none can be shown.
  bool ChooseFolder_Open(const std::string& Title = "Choose a folder");
  /// Where the chooser opened by ChooseFolder_Open is.
  /// @param Folder Receives the chosen folder's path on the file system (UTF-8, with slashes,
  ///               for example `/home/jo/Pictures/Summer`) with the result FolderChoice::kChosen.
  /// @return FolderChoice::kOpen while the user chooses; FolderChoice::kChosen or
  ///         FolderChoice::kCancelled once, when it has closed; FolderChoice::kNone when no chooser
  ///         is open.
  FolderChoice ChooseFolder_Poll(std::string& Folder);
  /// Closes the open chooser as if the user had cancelled it (nothing is reported); does nothing
  /// without one. A program ending with a chooser open should call it.
  void ChooseFolder_Close();
  /// Adds a file to the end of the open archive.
  ///
  /// Returns false, and adds nothing, when:
  /// - no archive is open;
  /// - an entry of the same short name (letter case aside) exists: with ErrorReportMsgBox a
  ///   message box `File already exists : <short name of FileName>` (title `Error!`) is shown;
  ///   to replace an entry, PAK_DeleteFile it first;
  /// - the name cannot be a file name inside a folder (empty, `.` or `..`, or holding `/`, `:`
  ///   or control characters) or holds an archive marker: logged as
  ///   `PAK - Cannot store a file under the name : <name>`;
  /// - the file cannot be read: `PAK - Cannot read the file to add : <path> (<reason>)`;
  /// - its bytes hold an archive marker, which would cut the entry short:
  ///   `PAK - The file holds an archive marker and cannot be stored : <path>`;
  /// - the archive cannot be written: `PAK - Cannot write to the archive : <path> (<reason>)`.
  /// @param FileName         The file to add (@ref paths).
  /// @param FileRename       The name to store it under, which may hold folders
  ///                         (`pics\a.bmp`; look-ups use the short name). Empty: FileName,
  ///                         which the caller's variable then receives.
  /// @param ErrorReportMsgBox true: show a message box for a name already in the archive.
  ///                         Default false.
  /// @return true when the file was added.
  bool PAK_AddFile(const std::string& FileName, std::string& FileRename, bool ErrorReportMsgBox = false);
  /// Adds a file to the open archive under its own name, without a message box.
  /// @param FileName The file to add (@ref paths); it is stored under this name.
  /// @return true when the file was added.
  bool PAK_AddFile(const std::string& FileName);
  /// Writes one entry of the open archive to a file.
  ///
  /// The entry is the first whose short name, blanks around it removed, equals the name asked
  /// for, letter case aside. The file is created or replaced so that it holds exactly the
  /// entry's bytes. Failures are logged: an entry whose own name would lead out of the folder as
  /// `PAK - Entry not extracted, its name leads out of the folder : <name>`, a file that cannot
  /// be written as `PAK - Error extracting file : <name> to <path> (<reason>)`.
  /// @param FileName_inPAK    The entry's short name; a full path with a drive letter
  ///                          (<tt>C:\\x\\hscore.ini</tt>) is cut to its short name.
  /// @param DifferentFileName The file to write (@ref paths); empty (default): the entry's name
  ///                          in the application folder.
  /// @param NotifyResult      true: show a message box (title `File Extraction`), `Done!` on
  ///                          success, `Error: <file>` on failure. Default false.
  /// @return true when the file was written; false when no archive is open, the entry is
  ///         missing, or the file could not be written.
  bool PAK_ExtractFile(const std::string& FileName_inPAK, const std::string& DifferentFileName = "",
                       bool NotifyResult = false);
  /// Writes every entry of the open archive into a folder, each under its short name.
  ///
  /// The folder is created when its parent exists (only the last level is made). An entry whose
  /// name would lead out of the folder is skipped and logged as
  /// `PAK - Entry skipped, its name leads out of the folder : <name>`. At the first file that
  /// cannot be written the call stops and logs
  /// <tt>PAK - Error Extracting All files : \<folder\> '\&' \<name\></tt>; the files written before stay.
  /// @param FilesPath The folder (@ref paths; `out` and <tt>\\out</tt> both name the folder `out` in
  ///                  the application folder). Empty (default): the application folder.
  /// @return true when every entry was written; false when no archive is open, an entry was
  ///         skipped, or writing failed.
  bool PAK_ExtractAll(const std::string& FilesPath = "");
  /// Removes one entry from the open archive and rewrites the archive.
  ///
  /// The entry is the first whose short name equals FileName, letter case aside (blanks count).
  /// The new archive is written beside the old one and renamed over it, so a failure leaves the
  /// old archive whole; failures are logged as
  /// `PAK - Cannot delete from the archive, it cannot be read : <path> (<reason>)` or
  /// `PAK - Cannot rewrite the archive : <path> (<reason>)`.
  /// @param FileName The entry's short name; a full path with a drive letter is cut to its short
  ///                 name.
  /// @return true when the archive was rewritten, also when no entry had that name; false when
  ///         no archive is open or the archive could not be read or written.
  bool PAK_DeleteFile(const std::string& FileName);
  /// Replaces one entry of an archive file so that, whenever the program stops, the archive is
  /// the old one or the new one, whole.
  ///
  /// The archive is copied beside itself (its name followed by CopySuffix), the entry is deleted
  /// from the copy and the file added in its place (PAK_DeleteFile, PAK_AddFile, which log their
  /// own failures), the copy is flushed to the disk and renamed over the archive. A step that
  /// fails removes the copy. Afterwards the archive is the open one, rewritten or not.
  /// @param ArchiveName The archive file (@ref paths).
  /// @param FileName    The file whose bytes become the entry (@ref paths).
  /// @param EntryName   The entry's stored name; it is added when the archive lacks it.
  /// @param CopySuffix  Added to the archive's name for the copy, for example `.saving`: a copy
  ///                    a stopped program left behind can be told by it.
  /// @param Why         Receives the system's reason (such as `No space left on device`) when
  ///                    the copy, the flush or the rename failed; empty otherwise.
  /// @return true when the archive holds the new entry.
  bool PAK_ReplaceEntry(const std::string& ArchiveName, const std::string& FileName,
                        const std::string& EntryName, const std::string& CopySuffix, std::string& Why);
  /// The number of entries in the open archive.
  /// @return the count (at most 32767); 0 when no archive is open.
  int16_t PAK_FileCount();

  /// Lists the files of a folder, sorted by name (letter case aside).
  ///
  /// Only plain files are listed: no folders and no hidden files (names starting with `.`).
  /// @param sFolderPath     The folder (@ref paths); one leading and one trailing backslash are
  ///                        dropped. Empty (default): the application folder.
  /// @param bWithSubFolders true: after the folder's own files, the files of each sub-folder and
  ///                        of theirs, depth first, sub-folders in name order. Their entries are
  ///                        always bare file names. Default false.
  /// @param bStripPath      true (default): bare file names. false: the folder's own files as
  ///                        full paths (the folder, a backslash and the name).
  /// @return the names; a folder without files, or a missing folder, gives a list of one empty
  ///         text.
  std::vector<std::string> FilesInFolder(const std::string& sFolderPath = "", bool bWithSubFolders = false,
                                         bool bStripPath = true);
  /// Adds a text to a list, filling the list's first place when it is empty.
  ///
  /// An empty list, or one whose first element is empty text (as FilesInFolder gives for an
  /// empty folder), becomes a list of the value alone; any other list grows by the value.
  /// @param VarArray The list, changed in place.
  /// @param VarValue The text to add.
  void AddItem2Array1D(std::vector<std::string>& VarArray, const std::string& VarValue);
  /// Adds a number to a list; a list that is empty or starts with 0 becomes the value alone.
  /// @param VarArray The list, changed in place.
  /// @param VarValue The number to add.
  void AddItem2Array1D(std::vector<double>& VarArray, double VarValue);
  /// Adds a flag to a list; a list that is empty or starts with false becomes the value alone.
  /// @param VarArray The list, changed in place.
  /// @param VarValue The flag to add.
  void AddItem2Array1D(std::vector<bool>& VarArray, bool VarValue);
  /// The extension of a file name.
  /// @param FileName A file name or path.
  /// @return the text after the last `.`, in lower case, without the dot (`jpg` for
  ///         `Photo.JPG`); empty without a dot. The dot is looked for in the whole text, so
  ///         `C:\a.b\c` gives `b\c`.
  std::string GetFileExt(const std::string& FileName);
  /// The short name of a path.
  /// @param FilePathName A path.
  /// @return the text after the last backslash (`y.txt` for <tt>C:\\x\\y.txt</tt>); the whole text
  ///         without one. A slash is not a separator here: `a/b.txt` stays as it is.
  std::string GetFileShortName(const std::string& FilePathName);
  /// Opens a link in the desktop's web browser (through `xdg-open`) and returns at once.
  /// Nothing is reported; an empty link does nothing.
  /// @param FullLink The link, for example "https://example.org/".
  void OpenWebsite(const std::string& FullLink);
  /// Downloads a file into the application folder and waits until it is done.
  ///
  /// http, https and ftp links are followed through up to 10 redirections; an error page of
  /// the server counts as a failure. The download gives up when it cannot connect within 20
  /// seconds or receives nothing for 60 seconds. The file is written beside its target and
  /// renamed into place, so a broken download leaves no half file. Failures are logged as
  /// `Error in DownloadFile : <URL> : <reason>`.
  /// @param URL                 The link.
  /// @param LocalFolder_Filename The target file, always inside the application folder; its
  ///                            folder must exist. A name with a `..` part is refused and
  ///                            logged as `Error in DownloadFile : refused <name> (outside the
  ///                            game folder)`.
  /// @return true when the file was downloaded; false on any failure or an empty name.
  bool DownloadFile(const std::string& URL, const std::string& LocalFolder_Filename);
  /// Whether the computer is connected to a network: true when it has a default route other
  /// than the loopback one. Nothing is sent.
  /// @return true when a network route exists.
  bool IsOnline();

  /// How much time the last frame left over: the rounds of Engine::RenderAll's wait in the last
  /// frame. 1 means the frame used its whole period (or more); higher means time to spare.
  /// @return the rounds of the last frame's wait; 0 before the first frame.
  int32_t GetFpsTooMuch();
  /// The measured frame rate: the frames Engine::RenderAll counted in the last window of just
  /// over one second.
  /// @return frames a second; 0 before the first frame, 1 right after it.
  int32_t GetFps();
  /// Sets the frame-rate cap Engine::RenderAll waits for, for every engine of the process.
  ///
  /// RenderAll waits until 1/intFPS seconds have passed since the end of the previous frame's
  /// wait, sleeping in short slices and handling window events meanwhile; the time spent drawing
  /// is part of the period, and a slow frame is not made up later.
  ///
  /// Until a program calls it there is no cap: RenderAll then runs at up to 2048 frames a second
  /// and keeps a core busy, so a game calls it once after Engine::Tovak2D_Start.
  /// @param intFPS Frames a second; `SetFPSLimit()` without an argument sets 50. 0 means no cap
  ///               (up to 2048 frames a second, as before the first call); a negative value
  ///               never waits.
  void SetFPSLimit(int16_t intFPS = 50);
  /// Pauses the calling thread. Window events are not handled meanwhile.
  /// @param Milliseconds How long; 0 or less returns at once.
  void Sleep(int32_t Milliseconds);

  /// Reads one key of an INI file.
  ///
  /// INI files are text with `[section]` lines and `key=value` lines (lines ending in CR LF or
  /// LF; lines starting with `;` are comments). Section and key names match without regard to
  /// letter case and blanks around them.
  /// @param Section  The section's name.
  /// @param KeyName  The key's name.
  /// @param FileName The INI file (@ref paths).
  /// @param Decrypt  true: unscramble the value (each byte combined by exclusive-or with 173, as
  ///                 INIWrite with Encrypt stores it). Default false.
  /// @return the value with blanks around it removed, one pair of matching quotes (<tt>"</tt> or <tt>'</tt>)
  ///         around it removed, and cut to 254 characters; empty text when the file, the section
  ///         or the key is missing (nothing is created or logged).
  std::string INIRead(const std::string& Section, const std::string& KeyName, const std::string& FileName,
                      bool Decrypt = false);
  /// Writes one key of an INI file.
  ///
  /// The file, the section (at the end of the file) and the key (at the end of its section) are
  /// created as needed; an existing key's line is replaced in place, every other line stays as it
  /// was. The new file is written beside the old one and renamed over it. A value is cut at its
  /// first line break or NUL.
  /// @param Section   The section's name.
  /// @param KeyName   The key's name.
  /// @param NewString The value, Windows-1252.
  /// @param FileName  The INI file (@ref paths).
  /// @param Encrypt   true: store the value scrambled (each byte combined by exclusive-or with
  ///                  173; INIRead with Decrypt gives it back). Characters that scramble into a
  ///                  line break, NUL or a blank at the value's ends (0xA0, 0xA7, 0xAD, and 0x8D
  ///                  or 0xA4 at the ends) do not survive. Default false.
  /// @return 1 when the value was written; 0 when the file exists but cannot be read, or cannot
  ///         be written: once the engine has started, the log then says why
  ///         (`Error in INIWrite : <file> (<reason>)`).
  int16_t INIWrite(const std::string& Section, const std::string& KeyName, const std::string& NewString,
                   const std::string& FileName, bool Encrypt = false);

  /// Appends a line to the log or to another text file.
  /// @param vText   The line (CR LF is added), Windows-1252.
  /// @param logFile The file; empty (default): `log.txt` in the application folder. A relative
  ///                name is taken from the application folder. A line that cannot be written is
  ///                dropped without a message.
  void SaveLog(const std::string& vText, const std::string& logFile = "");
  /// The number pi.
  /// @return pi as a float once an Engine was started (Engine::Tovak2D_Start or
  ///         Engine::Tovak2D_Start_OnlySound); 0 before.
  float Pi();
  /// The factor from degrees to radians.
  /// @return pi / 180 once an Engine was started; 0 before.
  float Rad();
  /// Whether a file or folder exists.
  /// @param FilePath The name: looked up in the application folder, or taken as it is when it is
  ///                 a full path (a drive letter, or starting with the application folder).
  /// @return true when it exists; false otherwise, and the line
  ///         `File is missing : <folder>\<FilePath>` is logged (except for `t2do.ini`).
  bool FileExists(const std::string& FilePath);
  /// The path in the file system that the engine's calls read and write for a file name.
  ///
  /// The name is taken from the application folder as every call takes it (@ref paths);
  /// backslashes become `/`, the text becomes UTF-8, and a part that does not exist as written
  /// is matched against its folder without regard to letter case.
  /// @param FileName The name, Windows-1252.
  /// @return the path, UTF-8; empty for a relative name while no Engine was started.
  std::string NativePath(const std::string& FileName);
  /// A random whole number between two bounds, both included.
  ///
  /// A uniform number in [0, 1) is scaled to the range and rounded (halves to even), so each
  /// bound comes about half as often as a number between them: 1 to 3 gives 2 twice as often as
  /// 1 or 3. The generator is seeded once per process.
  /// @param MinNum The lower bound (a greater MinNum than MaxNum gives a number between them the
  ///               other way round).
  /// @param MaxNum The upper bound.
  /// @return the number.
  int32_t RndNum(int32_t MinNum, int32_t MaxNum);
  /// Whether a corner of one rectangle lies in another (edges included).
  ///
  /// This is not an overlap test: a Rect2 lying wholly inside Rect1 gives false.
  /// @param Rect1 The rectangle whose four corners are tested.
  /// @param Rect2 The rectangle they are tested against.
  /// @return true when at least one corner of Rect1 lies in Rect2.
  bool IsRectInRect(const RECT& Rect1, const RECT& Rect2);
  /// Whether a point lies in a rectangle, edges included.
  /// @param XPosition The point's x.
  /// @param YPosition The point's y.
  /// @param CRect     The rectangle.
  /// @return true when Left <= XPosition <= Right and Top <= YPosition <= Bottom.
  bool IsPointInRect(double XPosition, double YPosition, const RECT& CRect);
  /// Whether the mouse is over an area, edges excluded.
  ///
  /// The mouse position is the one the last Engine::GetMouseState reported (or
  /// Engine::SetMousePos set), for any Engine of the process; call GetMouseState every frame.
  /// @param X1     The area's left edge, in back-buffer pixels.
  /// @param Y1     The area's top edge.
  /// @param Width  The area's width.
  /// @param Height The area's height.
  /// @return true when X1 < x < X1 + Width and Y1 < y < Y1 + Height.
  bool IsMouseOverArea(float X1, float Y1, float Width, float Height);
  /// Brings an angle back into 0 to 360 degrees after a turn: above 359 it loses 360, then below
  /// 0 it gains 360.
  ///
  /// One correction each way: -360 up to (not including) 720 ends in [0, 360) (360 becomes 0,
  /// -90 becomes 270), except that a value between 359 and 360 stays as it is; 720 becomes 360.
  /// @param Ang The angle in degrees, changed in place.
  void WrapAngle(float& Ang);
  /// Scrambles or unscrambles a text: each byte combined by exclusive-or with a key byte.
  /// Applied twice with the same key it gives back the text.
  /// @param strOld The text.
  /// @param bcode  The key byte; default kDefaultCodeByte.
  /// @return the scrambled text, as long as strOld (it may hold any byte, NUL included).
  std::string EnDeCode(const std::string& strOld, uint8_t bcode = kDefaultCodeByte);
  /// The distance between two points.
  /// @param X1 The first point's x.
  /// @param Y1 The first point's y.
  /// @param X2 The second point's x.
  /// @param Y2 The second point's y.
  /// @return the distance.
  float GetDistance(float X1, float Y1, float X2, float Y2);
  /// The direction from one point to another, in degrees, clockwise on the screen.
  ///
  /// Engine::Draw turns a sprite the other way for a positive angle; @ref angles shows how to
  /// point a sprite along this direction.
  ///
  /// 0 points right (+x), 90 down (+y), 180 left, 270 up: from (0, 0), (1, 1) is 45 and
  /// (1, -1) is 315.
  /// @param X1 The first point's x.
  /// @param Y1 The first point's y.
  /// @param X2 The second point's x.
  /// @param Y2 The second point's y.
  /// @return the angle, 0 up to (not including) 360.
  /// @throws MathError when both points are the same.
  float GetAngle(float X1, float Y1, float X2, float Y2);
  /// Moves a point a step in a direction: X grows by Speed cos(Angle), Y by Speed sin(Angle).
  ///
  /// The angle counts as in GetAngle (0 right, 90 down). The step uses Rad, so before an Engine
  /// was started it always goes along +x.
  /// @param X     The point's x, changed in place.
  /// @param Y     The point's y, changed in place.
  /// @param Angle The direction in degrees.
  /// @param Speed The step's length. Default 1.
  void GoToAngle(float& X, float& Y, float Angle, float Speed = 1);

 private:
  std::unique_ptr<HighScoreTable> hs_;
};

}  // namespace tovak2d
