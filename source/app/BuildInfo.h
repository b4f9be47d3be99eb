// Configuration values of the build that the windows show or open: the version and notice of the about
// window, and the product's web and support addresses (the about window's links and the main window's
// Online Resources and Technical Support actions). The display title is AppTitle (globals.h).
#pragma once

extern const char* const VersionText;
extern const char* const NoticeText;
extern const char* const OnlineResourcesAddress;
extern const char* const TechnicalSupportAddress;
