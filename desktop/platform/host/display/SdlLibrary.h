#pragma once

#include <SDL.h>

namespace marrowleaf::platform {

// The window library's functions the simulator's window uses, opened the first time a window is
// asked for (see SharedLibrary): a headless run never loads SDL nor the sound, X11 and Wayland
// libraries it pulls in.
struct SdlLibrary {
  decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
  decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
  decltype(&::SDL_GetError) GetError = nullptr;
  decltype(&::SDL_SetHint) SetHint = nullptr;
  decltype(&::SDL_GetTicks64) GetTicks64 = nullptr;
  decltype(&::SDL_Delay) Delay = nullptr;
  decltype(&::SDL_RegisterEvents) RegisterEvents = nullptr;
  decltype(&::SDL_PushEvent) PushEvent = nullptr;
  decltype(&::SDL_PollEvent) PollEvent = nullptr;
  decltype(&::SDL_WaitEventTimeout) WaitEventTimeout = nullptr;
  decltype(&::SDL_GetKeyName) GetKeyName = nullptr;
  decltype(&::SDL_GetDisplayUsableBounds) GetDisplayUsableBounds = nullptr;
  decltype(&::SDL_CreateWindow) CreateWindow = nullptr;
  decltype(&::SDL_DestroyWindow) DestroyWindow = nullptr;
  decltype(&::SDL_CreateRenderer) CreateRenderer = nullptr;
  decltype(&::SDL_DestroyRenderer) DestroyRenderer = nullptr;
  decltype(&::SDL_RenderSetLogicalSize) RenderSetLogicalSize = nullptr;
  decltype(&::SDL_SetRenderDrawColor) SetRenderDrawColor = nullptr;
  decltype(&::SDL_RenderClear) RenderClear = nullptr;
  decltype(&::SDL_RenderCopy) RenderCopy = nullptr;
  decltype(&::SDL_RenderPresent) RenderPresent = nullptr;
  decltype(&::SDL_CreateTexture) CreateTexture = nullptr;
  decltype(&::SDL_UpdateTexture) UpdateTexture = nullptr;
  decltype(&::SDL_DestroyTexture) DestroyTexture = nullptr;

  // The library with every function found, opened once; nullptr (logged once) when it is missing
  // or lacks one of them.
  static const SdlLibrary* Get();
};

}  // namespace marrowleaf::platform
