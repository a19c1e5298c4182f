#pragma once

#include "web/site_output.h"
#include "web/web_site.h"

#include <QString>
#include <functional>

namespace verdan {

// Steps of a site's export that work on files beside the pages.

// Scaled copies of the pictures of persons shown whole who do not hide them, made only when the original
// changed since the last export; marks each picture that has its copies in site.PictureReady. `step` is
// called before each picture and returns false to cancel.
bool WriteSitePictures(TWebSite& site, TSiteOutput& output, const std::function<bool()>& step,
                       QString& error);

// The style sheet, the script and the program's fonts (where this system has them) under "assets/".
bool WriteSiteAssets(const TWebSite& site, TSiteOutput& output, QString& error);

} // namespace verdan
