#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tovak2d/Types.h"

namespace tovak2d {

struct EngineState;

// The window, the sprites and text drawn on it, the keyboard and mouse, and the sound effects.
// Start it once on the game window, use it every frame, and unload it before it goes away.
class TOVAK2D_API Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // While true, SetMouseHide leaves the system cursor alone.
  bool DebugMode = false;

  bool Tovak2D_Start(WindowHandle hWnd, const std::string& pAppPath, float oResWidth = 800,
                     float oResHeight = 600, bool oFullScreen = false, float oScrWidth = 0,
                     float oScrHeight = 0, bool WinOnTop = true);
  // Starts the sound alone; hWnd may be nullptr.
  bool Tovak2D_Start_OnlySound(WindowHandle hWnd, const std::string& pAppPath);

  bool GetKeyDown(int32_t Key);
  bool GetKeyUp(int32_t Key);
  bool GetKeyPressed(int32_t Key);
  bool GetMouseState(Mouse& ret_Mouse);
  void SetMousePos(int32_t posX, int32_t posY);

  void CreateSound(const std::string& sndName, const std::string& pFilename);
  void SoundPlay(const std::string& sndName, bool sndLoop = false, int32_t sndVolume = 100,
                 int32_t sndPan = 0, int32_t sndFrequency = 0);
  void SoundVolume(const std::string& sndName, int32_t sndVolume = 100);
  void SoundFrequency(const std::string& sndName, int32_t sndFrequency = 0);
  void SoundStop(const std::string& sndName = "", bool sndPause = false);

  void CreateTexture(Texture& DXTexture, const std::string& FileName, int32_t transpColor = 0);
  void Draw(const Texture& DXTexture, float X, float Y, float Width, float Height, float RotationAng = 0,
            int16_t AlphaTransp = 100, float SrcX = 0, float SrcY = 0, float scaleWidth = 0,
            float scaleHeight = 0, float centerRotationX = -1, float centerRotationY = -1);
  void DrawText(const Texture& DXTexture, const std::string& varText, float X, float Y, float ScaleSize = 1,
                float RotationAng = 0, int16_t AlphaTransp = 100, float cRed = 255, float cGreen = 255,
                float cBlue = 255);
  void ClearScreen(int16_t vRed = 0, int16_t vGreen = 0, int16_t vBlue = 0);
  void AmbientColor(double cRed = 255, double cGreen = 255, double cBlue = 255);
  // Values given as text; one that is not a number shows a message and keeps the old colour.
  void AmbientColor(const std::string& cRed, const std::string& cGreen, const std::string& cBlue);
  void SaveScreenshot();
  void RenderAll();

  void CreateFont(const std::string& KeyName, const std::string& FontName, int16_t FontSize = 10,
                  bool Boldovane = false, bool Italic = false);
  void DrawFont(const std::string& KeyName, float X, float Y, float rectWidth, float rectHeight,
                const std::string& fntText, int32_t fntColor = -1, int32_t txtPosition = 0);

  void SetMouseHide(bool cShow = true);
  std::string Version();
  void SetDebugMode(bool TrueFalse = false);
  void Tovak2D_Unload();

 private:
  friend struct EngineAccess;  // lets the library's own modules reach the state
  std::unique_ptr<EngineState> d_;
};

}  // namespace tovak2d
