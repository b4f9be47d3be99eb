#include "BuildInfo.h"

const char* const VersionText = "1.0.0";
const char* const NoticeText = "Copyright (C) 2026 Orvane developers";  // one line within the about label's 296 pixels
const char* const OnlineResourcesAddress = "https://orvane.example.org/";
const char* const TechnicalSupportAddress = "support@orvane.example.org";
