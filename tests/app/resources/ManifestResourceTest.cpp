#include "ResourceBytes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

using namespace resource_probe;

namespace {

// The manifest's text as embedded; the loader reads it at process start.
std::string ManifestText()
{
    const ResourceBytes bytes = FindEnglishResource(RT_MANIFEST, 1);
    if (bytes.data == nullptr)
        return {};
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

TEST(ApplicationManifest, IsEmbeddedAsTheProcessManifest)
{
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty()) << "no US English RT_MANIFEST 1";
    EXPECT_EQ(manifest.rfind("<?xml", 0), 0u);
}

TEST(ApplicationManifest, RunsWithTheCallersRightsWithoutUiAccess)
{
    EXPECT_NE(ManifestText().find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
        std::string::npos);
}

TEST(ApplicationManifest, DeclaresEveryWindowsFromVistaTo11)
{
    const std::string manifest = ManifestText();
    const char* const systems[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
    };
    for (const char* system : systems)
        EXPECT_NE(manifest.find(std::string(R"(<supportedOS Id=")") + system + R"("/>)"), std::string::npos)
            << system;
}

TEST(ApplicationManifest, AsksForSystemDpiAwareness)
{
    // Only as text: Wine reports every process as system aware, manifest or not.
    const std::string manifest = ManifestText();
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">system</dpiAwareness>"), std::string::npos);
}

// The loader binds comctl32.dll through the manifest's dependency: version 6
// comes from the side-by-side store, not from the system folder. (Wine's
// version 6 answers DllGetVersion with 5.81, so its folder is what tells.)
TEST(ApplicationManifest, BindsVersion6OfTheCommonControls)
{
    const HMODULE commonControls = LoadLibraryA("comctl32.dll");
    ASSERT_NE(commonControls, nullptr);
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(commonControls, path, MAX_PATH);
    FreeLibrary(commonControls);
    ASSERT_GT(length, 0u);
    std::string folder(path, length);
    for (char& c : folder)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(folder.find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(folder.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
}

} // namespace
