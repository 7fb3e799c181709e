#include "app/EntryPoint.h"

#include <memory>
#include <string>

#include "base/DeferredTaskQueue.h"
#include "base/InstallContext.h"
#include "app/ProgramResources.h"
#include "base/SystemUtilities.h"
#include "diag/EventReport.h"
#include "log/SetupLog.h"
#include "net/http/HttpClient.h"
#include "platform/SingleInstance.h"
#include "ui/manager/PaintManager.h"

namespace {

constexpr char kLogSource[] = "main";
constexpr wchar_t kInstanceName[] = L"LUMO_GAME_CENTER_INSTALLER";
constexpr std::size_t kTitleCapacity = 128;

// The process's global objects, made by StartUp and torn down by ShutDown in a fixed order.
class InstallerProcess {
 public:
  InstallerProcess(const platform::Module& program, platform::ComRuntime& com) : program_(program), com_(com) {}

  void Run() {
    StartUp();
    ShutDown();
  }

 private:
  void StartUp() {
    LGC_LOG(" lumogc_setup Start");
    context_ = std::make_unique<InstallContext>();
    MakeClientId(context_->clientId);
    HandSkinToFramework();
    title_ = program_.LoadString(kStringTitle, kTitleCapacity);
    // The run's first report; the HTTP client comes into being here.
    EventReport(*context_, "DLR_STR", "");

    comInitialized_ = com_.Initialize();
    if (!comInitialized_) {
      LGC_LOG(" ::CoInitialize failed");
      EventReport(*context_, "DLR_ERR", "");
      return;
    }
    // Skin files that are not in the archive come from the program's own folder.
    Vellum::CPaintManagerUI::SetModuleInstance(&program_);
    Vellum::CPaintManagerUI::SetSkinFolder(Vellum::CPaintManagerUI::ModuleFolder());
  }

  void ShutDown() {
    DeferredTaskQueue::Instance().Release();
    // Made by the start report; reports still queued or in transfer are discarded with it.
    nbt::HttpClient::DestroyInstance();
    context_.reset();
    // The skin archive stays open until the framework's process-wide shutdown.
    Vellum::CPaintManagerUI::Shutdown();
    if (comInitialized_) com_.Uninitialize();
    LGC_LOG("installer Exit \r\n\r\n");
    CloseLog();
  }

  // The skin archive travels in the program's resources; the framework reads it in place. Without
  // it the framework looks for the skin files in the program's folder.
  void HandSkinToFramework() {
    Vellum::CPaintManagerUI::SetModuleInstance(&program_);
    const auto archive = program_.FindResource(kSkinArchiveType, kSkinArchiveId);
    if (archive && !archive->empty()) Vellum::CPaintManagerUI::OpenSkinArchiveInMemory(*archive, L"");
  }

  const platform::Module& program_;
  platform::ComRuntime& com_;
  std::unique_ptr<InstallContext> context_;
  std::wstring title_;
  bool comInitialized_ = false;
};

}  // namespace

int RunInstaller(const platform::Module& program, platform::ComRuntime& com) {
  // The token is held until the process ends, so it outlives the run below.
  static platform::SingleInstanceLock instance(kInstanceName);
  if (instance.state() == platform::SingleInstanceLock::State::HeldElsewhere) return 0;

  InstallerProcess process(program, com);
  process.Run();
  return 0;
}
