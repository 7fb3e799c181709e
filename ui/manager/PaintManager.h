#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Font.h"
#include "platform/Fonts.h"
#include "platform/Module.h"
#include "platform/NativeWindow.h"
#include "ui/core/FontInfo.h"
#include "ui/manager/NotifyInterfaces.h"
#include "ui/render/SkinImageAttribute.h"
#include "ui/manager/UiEvent.h"
#include "ui/manager/UiNotify.h"
#include "ui/core/UiTypes.h"

namespace Vellum {

class CControlUI;
class SkinZipArchive;
struct ImageInfo;

// The services one skinned window gives its controls, its skin builder and its renderer: the
// control-name map, listeners and pre-filters, option groups, default attribute lists and styles,
// fonts and default colours, window settings, control timers, parsed image attributes and the delivery
// of notifications, at once or queued behind the window's asynchronous-work message.
//
// Process-wide (shared) maps hold fonts, pictures, default attribute lists and styles every window
// sees, the shared default font and the shared default colours.
//
// The process-wide skin source settings say where skin files and pictures come from. They are set
// once on the UI thread during start-up, before the first window exists.
//
// Single-threaded: every call comes from the thread that runs the window's loop.
class CPaintManagerUI {
 public:
  // --- Skin source (process-wide) ---
  static void SetModuleInstance(const platform::Module* instance);
  static const platform::Module* ModuleInstance();
  static void SetResourceModule(const platform::Module* module);
  // The module for resource lookups: the resource module when one is set, else the module instance.
  static const platform::Module* ResourceModule();
  // The folder of the module instance's program file with its trailing separator; empty without
  // a module instance.
  static std::wstring ModuleFolder();

  // A path that is not empty always ends in a separator.
  static void SetSkinFolder(std::wstring_view path);
  static const std::wstring& SkinFolder();

  // Opens the skin archive in place from a memory block that stays valid for the whole process,
  // and keeps it open until CloseSkinArchive. Only the first archive opened from memory counts;
  // later calls change nothing. A block that is no archive leaves no archive open.
  static void OpenSkinArchiveInMemory(std::span<const std::uint8_t> data, std::wstring_view password);
  // Skins then come from the archive file of that name in the skin folder, opened for each read.
  static void SetSkinArchiveFile(std::wstring_view name, std::wstring_view password);
  // Closes a cached archive and forgets every archive setting; skins then come from the folder.
  static void CloseSkinArchive();

  // "membuffer" for an archive opened from memory; empty when skins come from the folder.
  static const std::wstring& SkinArchiveName();
  static bool IsSkinArchiveCached();
  // The cached archive; null when none is open.
  static SkinZipArchive* SkinArchive();
  static const std::wstring& SkinArchivePassword();

  // --- The window's services ---
  // The message the manager posts to its own window for the work queued by SendNotification and
  // DeleteLater; the window's message handling hands it to HandleAsyncWork.
  static constexpr platform::MessageId kAsyncNotifyMessage = platform::kAppMessage + 1;

  // Fonts come from the given provider; the first manager of the process also makes the shared
  // default font with it.
  explicit CPaintManagerUI(platform::FontProvider& fonts = platform::SystemFonts());
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // Frees the shared fonts, the shared default font, the shared pictures, the shared default
  // attribute lists and styles, and resets the shared colours, so that the next manager starts
  // the process's state afresh. Part of the framework's process-wide shutdown.
  static void ReleaseSharedRegistries();

  // The framework's process-wide teardown, once at process end after the last window object is
  // gone: frees the shared registries and closes a cached skin archive.
  static void Shutdown();

  // --- Window ---
  // Clears the name map and the window's fonts, pictures, styles, default attribute lists, option
  // groups and timers, stores the name and binds the window (not owned; it must outlive the binding).
  void BindWindow(platform::NativeWindow* window, std::wstring_view name);
  platform::NativeWindow* PaintWindow() const { return window_; }
  const std::wstring& GetName() const { return name_; }
  CControlUI* RootControl() const { return root_.get(); }
  CControlUI* FocusControl() const { return focus_; }
  // The last mouse position in client coordinates, (-1, -1) before the first; the window's mouse
  // handling keeps it current.
  Point LastMousePosition() const { return lastMousePosition_; }
  void SetLastMousePosition(Point point) { lastMousePosition_ = point; }

  // --- Listeners ---
  bool AddListener(INotifyUI* listener);
  bool RemoveListener(INotifyUI* listener);
  bool AddPreFilter(IMessageFilterUI* filter);
  bool RemovePreFilter(IMessageFilterUI* filter);
  const std::vector<IMessageFilterUI*>& PreFilters() const { return preFilters_; }
  bool AddPostPaintControl(CControlUI* control);
  bool RemovePostPaintControl(CControlUI* control);
  const std::vector<CControlUI*>& PostPaintControls() const { return postPaint_; }

  // --- Names ---
  // Exact match; none when no control has the name.
  CControlUI* FindControlByName(std::wstring_view name) const;
  // Enters a control with a non-empty name; a later control of the same name replaces the earlier.
  void AddNamedControl(CControlUI& control);

  // --- Default attribute lists and styles ---
  // The window's entry, else the shared one; none when neither exists.
  const std::wstring* DefaultAttributesFor(std::wstring_view className) const;
  // Stores a copy, replacing an existing entry.
  void SetDefaultAttributes(std::wstring_view className, std::wstring_view text, bool shared);
  const std::wstring* StyleText(std::wstring_view name) const;
  // The first text of a name stays.
  void AddStyleText(std::wstring_view name, std::wstring_view text, bool shared);

  // --- Option groups ---
  // False when the control is already a member.
  bool JoinOptionGroup(std::wstring_view group, CControlUI* control);
  // None when the group has no members.
  const std::vector<CControlUI*>* OptionGroupMembers(std::wstring_view group) const;
  // The group goes with its last member.
  void LeaveOptionGroup(std::wstring_view group, CControlUI* control);

  // --- Fonts ---
  // Makes a font from the system's control font with the face (when given, at most 32 characters),
  // the scaled pixel size and the styles asked for, and registers it under id, replacing an earlier
  // font of that id. None (and nothing recorded) when the platform cannot make it.
  FontHandle AddFontById(int id, std::wstring_view faceName, int size, bool bold, bool underline, bool italic,
                         bool shared);
  // For id >= 0 the window's font, then the shared one; otherwise, or when neither exists, the
  // default font. Never nothing but a default font the platform could not make.
  FontHandle FontById(int id) const;
  const FontInfo& FontInfoById(int id) const;
  // The record of a registered or default font; the default font's record for an unknown handle.
  const FontInfo& FontInfoByHandle(FontHandle font) const;
  // The window's default font when it has one, else the shared default font.
  const FontInfo& DefaultFontInfo() const;
  void SetDefaultFontSpec(std::wstring_view faceName, int size, bool bold, bool underline, bool italic, bool shared);
  // The registered font (window, shared or default) with exactly these properties; when there is
  // none, one is made and registered for this window under an id no skin uses.
  const FontInfo& FindOrAddFont(std::wstring_view faceName, int size, bool bold, bool underline, bool italic);

  // --- Default colours ---
  // A shared setter also moves the window's colour when the window still had the old shared one.
  ArgbColor DefaultDisabledTextColor() const { return colors_.disabledText; }
  void SetDefaultDisabledTextColor(ArgbColor color, bool shared);
  ArgbColor DefaultTextColor() const { return colors_.text; }
  void SetDefaultTextColor(ArgbColor color, bool shared);
  ArgbColor DefaultLinkColor() const { return colors_.link; }
  void SetDefaultLinkColor(ArgbColor color, bool shared);
  ArgbColor DefaultLinkHoverColor() const { return colors_.linkHover; }
  void SetDefaultLinkHoverColor(ArgbColor color, bool shared);
  ArgbColor DefaultSelectedBkColor() const { return colors_.selectedBk; }
  void SetDefaultSelectedBkColor(ArgbColor color, bool shared);

  struct DefaultColors {
    ArgbColor disabledText = 0;
    ArgbColor text = 0;
    ArgbColor link = 0;
    ArgbColor linkHover = 0;
    ArgbColor selectedBk = 0;
  };

  // --- Window settings read from the skin ---
  void SetInitialSize(int cx, int cy) { initialSize_ = {cx, cy}; }
  Size InitialSize() const { return initialSize_; }
  void SetCaptionArea(const Rect& rect) { captionArea_ = rect; }
  const Rect& CaptionArea() const { return captionArea_; }
  void SetResizeBorders(const Rect& rect) { resizeBorders_ = rect; }
  const Rect& ResizeBorders() const { return resizeBorders_; }
  void SetRoundCorner(int cx, int cy) { roundCorner_ = {cx, cy}; }
  Size RoundCorner() const { return roundCorner_; }
  void SetMinTrackSize(int cx, int cy) { minTrackSize_ = {cx, cy}; }
  Size MinTrackSize() const { return minTrackSize_; }
  void SetMaxTrackSize(int cx, int cy) { maxTrackSize_ = {cx, cy}; }
  Size MaxTrackSize() const { return maxTrackSize_; }
  void SetShowDirty(bool show) { showDirty_ = show; }
  bool IsShowDirty() const { return showDirty_; }
  void SetNoActivate(bool noActivate) { noActivate_ = noActivate; }
  bool IsNoActivate() const { return noActivate_; }
  void SetOpacity(std::uint8_t opacity) { opacity_ = opacity; }
  std::uint8_t Opacity() const { return opacity_; }
  void SetLayered(bool layered) { layered_ = layered; }
  bool IsLayered() const { return layered_; }
  void SetHoverTime(unsigned ms) { hoverTime_ = ms; }
  unsigned HoverTime() const { return hoverTime_; }
  // Text drawn with the typographic text path of the renderer, and its rendering hint (0 to 5).
  void SetUseGdiplusText(bool use) { useGdiplusText_ = use; }
  bool IsUseGdiplusText() const { return useGdiplusText_; }
  void SetGdiplusTextRenderingHint(int hint) { gdiplusTextRenderingHint_ = hint; }
  int GdiplusTextRenderingHint() const { return gdiplusTextRenderingHint_; }
  void UsedVirtualWindow(bool used) { useVirtualWindow_ = used; }
  bool IsUsedVirtualWindow() const { return useVirtualWindow_; }

  // --- Display scale ---
  // value × percent / 100, rounded to the nearest (halves away from zero).
  int Scale(int value) const;
  // Left and top scaled; right and bottom keep the scaled width and height.
  Rect Scale(const Rect& rect) const;
  int ScalePercent() const { return scalePercent_; }
  // 100 on this system's displays; other values serve pictures drawn for other densities.
  void SetScalePercent(int percent) { scalePercent_ = percent > 0 ? percent : 100; }

  // --- Pictures ---
  // The window's picture of that name, else the shared one; none when neither is loaded.
  const ImageInfo* FindImage(std::wstring_view name) const;
  // Loads the picture and stores it under its name, replacing an earlier one (in the shared map
  // when shared). With a resource type the name is a decimal resource id. None when it cannot be
  // loaded; a failure is not remembered.
  const ImageInfo* RegisterImage(std::wstring_view name, std::wstring_view resourceType, ArgbColor mask, bool useHsl,
                                 bool shared, const platform::Module* module);
  // FindImage, or else RegisterImage for this window: what drawing uses.
  const ImageInfo* FindOrLoadImage(std::wstring_view name, std::wstring_view resourceType, ArgbColor mask, bool useHsl,
                                   const platform::Module* module);
  void ClearImages(bool shared);
  // Registers the skin item of that name as a font file of this process while the manager lives.
  // False when the item is missing or holds no font.
  bool ImportFontFile(std::wstring_view name);

  // --- Parsed image attribute texts ---
  // Parsed once per (image text, modify text) pair and kept for the manager's life; none for two
  // empty texts.
  const SkinImageSpec* ImageSpecFor(std::wstring_view imageText, std::wstring_view modifyText);

  // --- Control timers ---
  // Window timer ids follow a counter from 4096 taken modulo 240, so the first timers get 17, 18, 19…
  bool SetControlTimer(CControlUI* control, unsigned localId, unsigned intervalMs);
  bool KillControlTimer(CControlUI* control, unsigned localId);
  void KillControlTimers(CControlUI* control);
  // The window's timer message: the live timer with that window id sends EVENT_TIMER (wParam = its
  // local id) to its control. False when no live timer has the id.
  bool HandleTimerMessage(std::uintptr_t wParam, std::intptr_t lParam);

  // --- Notifications ---
  // Immediate: the sender's OnNotify listeners, then every listener in registration order.
  // Queued: delivered from the window's asynchronous-work message, after the current message.
  void SendNotification(CControlUI* sender, std::wstring_view type, std::uintptr_t wParam = 0, std::intptr_t lParam = 0,
                        bool queued = false);
  void SendNotification(UiNotify& notify, bool queued = false);
  // Takes the control over: it is destroyed from the asynchronous-work message, since it may be on
  // the call stack now.
  void DeleteLater(std::unique_ptr<CControlUI> control);
  // The asynchronous-work message: destroys the controls given to DeleteLater, then delivers the
  // queued notifications in order (a delivery may queue more; they follow in the same pass).
  void HandleAsyncWork();
  // Drops every reference to a control that is being destroyed.
  void ForgetControl(CControlUI* control);

 private:
  static const platform::Module* moduleInstance_;
  static const platform::Module* resourceModule_;
  static std::wstring skinFolder_;
  static std::wstring skinArchiveName_;
  static bool skinArchiveCached_;
  static std::unique_ptr<SkinZipArchive> skinArchive_;
  static std::wstring skinArchivePassword_;

  struct ControlTimer {
    CControlUI* sender = nullptr;
    unsigned localId = 0;
    platform::NativeWindow* window = nullptr;
    unsigned windowTimerId = 0;
    bool killed = false;
  };

  void ClearWindowRegistries();
  void Deliver(UiNotify& notify);
  void PostAsyncWork();
  std::optional<unsigned> NextWindowTimerId();
  std::unique_ptr<FontInfo> MakeFont(std::wstring_view faceName, int size, bool bold, bool underline,
                                     bool italic) const;
  void SetDefaultColor(ArgbColor DefaultColors::*which, ArgbColor color, bool shared);

  platform::FontProvider& fonts_;
  platform::NativeWindow* window_ = nullptr;  // not owned
  std::wstring name_;

  // The control tree and the controls the window's input refers to.
  std::unique_ptr<CControlUI> root_;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* click_ = nullptr;
  CControlUI* key_ = nullptr;
  Point lastMousePosition_{-1, -1};

  std::vector<INotifyUI*> listeners_;
  std::vector<IMessageFilterUI*> preFilters_;
  std::vector<CControlUI*> postPaint_;
  std::vector<std::unique_ptr<CControlUI>> delayedCleanup_;
  std::deque<UiNotify> asyncNotify_;
  bool asyncNotifyPosted_ = false;

  std::map<std::wstring, CControlUI*, std::less<>> names_;
  std::map<std::wstring, std::vector<CControlUI*>, std::less<>> optionGroups_;
  std::map<std::wstring, std::wstring, std::less<>> defaultAttributes_;
  std::map<std::wstring, std::wstring, std::less<>> styles_;
  std::map<int, std::unique_ptr<FontInfo>> fontsById_;
  std::unique_ptr<FontInfo> defaultFont_;  // none: the shared default font serves
  int nextGeneratedFontId_;
  std::map<std::wstring, std::unique_ptr<ImageInfo>, std::less<>> images_;
  std::vector<std::unique_ptr<platform::ImportedFont>> importedFonts_;
  std::map<std::pair<std::wstring, std::wstring>, std::unique_ptr<SkinImageSpec>> imageSpecs_;
  DefaultColors colors_;

  std::vector<ControlTimer> timers_;
  unsigned timerIdCounter_ = 4096;

  Size initialSize_;
  Rect captionArea_;
  Rect resizeBorders_;
  Size roundCorner_;
  Size minTrackSize_;
  Size maxTrackSize_;
  bool showDirty_ = false;
  bool noActivate_ = false;
  std::uint8_t opacity_ = 255;
  bool layered_ = false;
  unsigned hoverTime_ = 400;
  bool useGdiplusText_ = false;
  int gdiplusTextRenderingHint_ = 0;
  bool useVirtualWindow_ = false;
  int scalePercent_ = 100;
};

}  // namespace Vellum
