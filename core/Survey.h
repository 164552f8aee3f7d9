// The survey campaign: when it is due, the first-run start page, the password, the pages.
#pragma once

#include "core/DateTime.h"

#include <string>
#include <string_view>

bool isSurveyDue(DateTime today, DateTime firstActivated, std::string_view surveyPassword);
bool isStartPageDue(bool firstRun, DateTime today);
bool isCampaignPassword(std::string_view typed);
// The pages' addresses (UTF-8) for the identifier as stored (code page 932 bytes); the one
// place the identifier is converted, so both pages get the same text.
std::string startPageUrl(std::string_view userId);
std::string surveyPageUrl(std::string_view userId);
