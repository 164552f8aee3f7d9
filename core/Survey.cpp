// The survey campaign's dates, password and page addresses.
#include "core/Survey.h"

#include "core/Cp932.h"

#include "BuildConfig.h"

namespace {

constexpr std::string_view CampaignPassword = "QXJ";
constexpr int SurveyDelayDays = 21;

std::string pageUrl(std::string_view page, std::string_view userId)
{
    std::string url = "http://";
    url += BuildConfig::MakerHost;
    url += "/rupeta/";
    url += page;
    url += "?ID=";
    url += cp932ToUtf8(userId);
    return url;
}

} // namespace

bool isSurveyDue(DateTime today, DateTime firstActivated, std::string_view surveyPassword)
{
    today = dateOnly(today);
    return today <= encodeDate(2007, 2, 1) && today >= firstActivated + SurveyDelayDays &&
           !isCampaignPassword(surveyPassword);
}

bool isStartPageDue(bool firstRun, DateTime today)
{
    return firstRun && dateOnly(today) <= encodeDate(2007, 1, 1);
}

bool isCampaignPassword(std::string_view typed)
{
    return typed == CampaignPassword;
}

std::string startPageUrl(std::string_view userId)
{
    return pageUrl("start.aspx", userId);
}

std::string surveyPageUrl(std::string_view userId)
{
    return pageUrl("monitor.aspx", userId);
}
