#pragma once
// Who makes Zelvano and where to reach them. The start screen's web band, the
// about box and the credits window all take their addresses from here.

namespace zel::maker {

inline constexpr const char* kName = "Zelvano Software";
inline constexpr const char* kEmail = "info@zelvano.example";
inline constexpr const char* kSite = "https://www.zelvano.example/";
// The site as the start screen's credit line shows it.
inline constexpr const char* kSiteShown = "www.zelvano.example";

// The e-mail the about box prepares for the user to complete.
inline constexpr const char* kMailSubject = "Software Zelvano";
inline constexpr const char* kMailBody =
    "Salve, desidererei avere le seguenti informazioni sul software in oggetto:";

}  // namespace zel::maker
