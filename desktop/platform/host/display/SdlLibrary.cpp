#include "SdlLibrary.h"

#include "SharedLibrary.h"

namespace marrowleaf::platform {
namespace {

bool FindAll(SharedLibrary& library, SdlLibrary& sdl) {
  return library.Find("SDL_InitSubSystem", &sdl.InitSubSystem) &&
         library.Find("SDL_QuitSubSystem", &sdl.QuitSubSystem) &&
         library.Find("SDL_GetError", &sdl.GetError) && library.Find("SDL_SetHint", &sdl.SetHint) &&
         library.Find("SDL_GetTicks64", &sdl.GetTicks64) && library.Find("SDL_Delay", &sdl.Delay) &&
         library.Find("SDL_RegisterEvents", &sdl.RegisterEvents) &&
         library.Find("SDL_PushEvent", &sdl.PushEvent) &&
         library.Find("SDL_PollEvent", &sdl.PollEvent) &&
         library.Find("SDL_WaitEventTimeout", &sdl.WaitEventTimeout) &&
         library.Find("SDL_GetKeyName", &sdl.GetKeyName) &&
         library.Find("SDL_GetDisplayUsableBounds", &sdl.GetDisplayUsableBounds) &&
         library.Find("SDL_CreateWindow", &sdl.CreateWindow) &&
         library.Find("SDL_DestroyWindow", &sdl.DestroyWindow) &&
         library.Find("SDL_CreateRenderer", &sdl.CreateRenderer) &&
         library.Find("SDL_DestroyRenderer", &sdl.DestroyRenderer) &&
         library.Find("SDL_RenderSetLogicalSize", &sdl.RenderSetLogicalSize) &&
         library.Find("SDL_SetRenderDrawColor", &sdl.SetRenderDrawColor) &&
         library.Find("SDL_RenderClear", &sdl.RenderClear) &&
         library.Find("SDL_RenderCopy", &sdl.RenderCopy) &&
         library.Find("SDL_RenderPresent", &sdl.RenderPresent) &&
         library.Find("SDL_CreateTexture", &sdl.CreateTexture) &&
         library.Find("SDL_UpdateTexture", &sdl.UpdateTexture) &&
         library.Find("SDL_DestroyTexture", &sdl.DestroyTexture);
}

}  // namespace

const SdlLibrary* SdlLibrary::Get() {
  return SharedLibrary::OpenTable<SdlLibrary>(MARROWLEAF_SDL2_LIBRARY, "window", FindAll);
}

}  // namespace marrowleaf::platform
