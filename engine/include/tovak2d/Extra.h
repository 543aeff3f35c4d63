#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tovak2d/Types.h"

namespace tovak2d {

// Key byte EnDeCode uses when the caller gives none.
inline constexpr uint8_t kDefaultCodeByte = 0x5A;

// Thrown by the geometry helpers for an invalid operation (GetAngle of two equal points).
class TOVAK2D_API MathError : public std::domain_error {
 public:
  using std::domain_error::domain_error;
};

struct HighScoreTable;

// Archives, high-score tables, INI files, frame timing, geometry, files and the web.
// The open archive and the frame-timing counters are shared by every Extra in the process;
// the high-score table belongs to one Extra object.
class TOVAK2D_API Extra {
 public:
  Extra();
  ~Extra();
  Extra(const Extra&) = delete;
  Extra& operator=(const Extra&) = delete;

  // FileName receives the resolved path; TopX and additionalValues the stored values when
  // the file exists.
  bool HighScore_Create(std::string& FileName, int16_t& TopX, int16_t& additionalValues);
  bool HighScore_Create(std::string& FileName, int16_t& TopX);
  bool HighScore_Create(std::string& FileName);
  bool HighScore_Create();
  int16_t HighScore_NewScore(float Score, const std::string& Name, const std::vector<std::string>& Value);
  int16_t HighScore_CheckPos(float Score);
  float HighScore_GetScore(int16_t Index);
  std::string HighScore_GetName(int16_t Index);
  std::string HighScore_GetValue(int16_t Index, int16_t valueIndex);

  bool PAK_OpenPAK(const std::string& FileName = "", bool ShowDialog = false,
                   const std::string& Title = "Open File", const std::string& DialogOpenFolder = "");
  // openFolder receives the folder the dialog opened in.
  std::string ShowOpenDialog(const std::string& Title, std::string& openFolder);
  std::string ShowOpenDialog(const std::string& Title = "Open File");
  // FileRename receives FileName when it was empty.
  bool PAK_AddFile(const std::string& FileName, std::string& FileRename, bool ErrorReportMsgBox = false);
  bool PAK_AddFile(const std::string& FileName);
  bool PAK_ExtractFile(const std::string& FileName_inPAK, const std::string& DifferentFileName = "",
                       bool NotifyResult = false);
  bool PAK_ExtractAll(const std::string& FilesPath = "");
  bool PAK_DeleteFile(const std::string& FileName);
  int16_t PAK_FileCount();

  std::vector<std::string> FilesInFolder(const std::string& sFolderPath = "", bool bWithSubFolders = false,
                                         bool bStripPath = true);
  void AddItem2Array1D(std::vector<std::string>& VarArray, const std::string& VarValue);
  void AddItem2Array1D(std::vector<double>& VarArray, double VarValue);
  void AddItem2Array1D(std::vector<bool>& VarArray, bool VarValue);
  std::string GetFileExt(const std::string& FileName);
  std::string GetFileShortName(const std::string& FilePathName);
  void OpenWebsite(const std::string& FullLink);
  bool DownloadFile(const std::string& URL, const std::string& LocalFolder_Filename);
  bool IsOnline();

  int32_t GetFpsTooMuch();
  int32_t GetFps();
  void SetFPSLimit(int16_t intFPS = 50);
  void Sleep(int32_t Milliseconds);

  std::string INIRead(const std::string& Section, const std::string& KeyName, const std::string& FileName,
                      bool Decrypt = false);
  int16_t INIWrite(const std::string& Section, const std::string& KeyName, const std::string& NewString,
                   const std::string& FileName, bool Encrypt = false);

  void SaveLog(const std::string& vText, const std::string& logFile = "");
  float Pi();
  float Rad();
  bool FileExists(const std::string& FilePath);
  int32_t RndNum(int32_t MinNum, int32_t MaxNum);
  bool IsRectInRect(const RECT& Rect1, const RECT& Rect2);
  bool IsPointInRect(double XPosition, double YPosition, const RECT& CRect);
  bool IsMouseOverArea(float X1, float Y1, float Width, float Height);
  void WrapAngle(float& Ang);
  std::string EnDeCode(const std::string& strOld, uint8_t bcode = kDefaultCodeByte);
  float GetDistance(float X1, float Y1, float X2, float Y2);
  // Throws MathError when both points are the same.
  float GetAngle(float X1, float Y1, float X2, float Y2);
  void GoToAngle(float& X, float& Y, float Angle, float Speed = 1);

 private:
  std::unique_ptr<HighScoreTable> hs_;
};

}  // namespace tovak2d
