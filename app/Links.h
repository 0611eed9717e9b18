#pragma once
// The maker's addresses. All of them are the maker's own pages.
namespace links {
inline constexpr char kMakerSite[] = "http://www.marbex-soft.example/";
inline constexpr char kMakerDomain[] = "www.marbex-soft.example";
inline constexpr char kHomePage[] = "http://www.marbex-soft.example/videoconverter/";
inline constexpr char kDonatePage[] = "http://www.marbex-soft.example/donate.html";
inline constexpr char kUpdatePage[] = "http://www.marbex-soft.example/videoconverter/update.html";
inline constexpr char kSupportEmail[] = "support@marbex-soft.example";
}  // namespace links
