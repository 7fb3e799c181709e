#include "app/ProgramResources.h"

#include "platform/Process.h"
#include "skin/EmbeddedSkin.h"

const platform::Module& ProgramModule() {
  static const platform::Module program(platform::ExecutablePath(),
                                        {
                                            {kSkinArchiveType, kSkinArchiveId, EmbeddedSkinArchive()},
                                        },
                                        {
                                            {kStringTitle, L"《露摩游戏中心安装程序》"},
                                            {kStringNoDiskSpace, L"空间不足，请更换目录或清理磁盘空间后重试"},
                                            {kStringNoVersionInfo, L"与服务器连接发生故障，无法获取版本信息"},
                                            {kStringInstallFailed, L"安装失败，请重试"},
                                        });
  return program;
}
