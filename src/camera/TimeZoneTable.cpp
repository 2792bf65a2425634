#include "camera/TimeZoneTable.h"

#include <array>

namespace {

// Display names as the camera's time-zone byte indexes them; the doubled "&&" is part of the stored text.
constexpr std::array<const char16_t*, kTimeZoneCount> kTimeZoneNames = {
    u"(GMT-12:00) International Date Line West",
    u"(GMT-11:00) Midway Island, Samoa",
    u"(GMT-10:00) Hawaii",
    u"(GMT-09:00) Alaska",
    u"(GMT-08:00) Pacific Time (US && Canada)",
    u"(GMT-08:00) Tijuana, Baja California",
    u"(GMT-07:00) Arizona",
    u"(GMT-07:00) Chihuahua, La Paz, Mazatlan",
    u"(GMT-07:00) Mountain Time (US && Canada)",
    u"(GMT-06:00) Central America",
    u"(GMT-06:00) Central Time (US && Canada)",
    u"(GMT-06:00) Guadalajara, Mexico City, Monterrey",
    u"(GMT-06:00) Saskatchewan",
    u"(GMT-05:00) Bogota, Lima, Quito",
    u"(GMT-05:00) Eastern Time (US && Canada)",
    u"(GMT-05:00) Indiana (East)",
    u"(GMT-04:30) Caracas",
    u"(GMT-04:00) Asuncion",
    u"(GMT-04:00) Atlantic Time (Canada)",
    u"(GMT-04:00) Georgetown, La Paz, San Juan",
    u"(GMT-04:00) Manaus",
    u"(GMT-04:00) Santiago",
    u"(GMT-03:30) Newfoundland",
    u"(GMT-03:00) Brasilia",
    u"(GMT-03:00) Buenos Aires",
    u"(GMT-03:00) Cayenne",
    u"(GMT-03:00) Greenland",
    u"(GMT-03:00) Montevideo",
    u"(GMT-02:00) Mid-Atlantic",
    u"(GMT-01:00) Azores",
    u"(GMT-01:00) Cape Verde Is.",
    u"(GMT) Casablanca",
    u"(GMT) Coordinated Universal Time",
    u"(GMT) Dublin, Edinburgh, Lisbon, London",
    u"(GMT) Monrovia, Reykjavik",
    u"(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    u"(GMT+01:00) Belgrade, Bratislava, Budapest, Ljubljana, Prague",
    u"(GMT+01:00) Brussels, Copenhagen, Madrid, Paris",
    u"(GMT+01:00) Sarajevo, Skopje, Warsaw, Zagreb",
    u"(GMT+01:00) West Central Africa",
    u"(GMT+02:00) Amman",
    u"(GMT+02:00) Athens, Bucharest, Istanbul",
    u"(GMT+02:00) Beirut",
    u"(GMT+02:00) Cairo",
    u"(GMT+02:00) Harare, Pretoria",
    u"(GMT+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius",
    u"(GMT+02:00) Jerusalem",
    u"(GMT+02:00) Minsk",
    u"(GMT+02:00) Windhoek",
    u"(GMT+03:00) Baghdad",
    u"(GMT+03:00) Kuwait, Riyadh",
    u"(GMT+03:00) Moscow, St. Petersburg, Volgograd",
    u"(GMT+03:00) Nairobi",
    u"(GMT+03:00) Tbilisi",
    u"(GMT+03:30) Tehran",
    u"(GMT+04:00) Abu Dhabi, Muscat",
    u"(GMT+04:00) Baku",
    u"(GMT+04:00) Port Louis",
    u"(GMT+04:00) Yerevan",
    u"(GMT+04:30) Kabul",
    u"(GMT+05:00) Ekaterinburg",
    u"(GMT+05:00) Islamabad, Karachi",
    u"(GMT+05:00) Tashkent",
    u"(GMT+05:30) Chennai, Kolkata, Mumbai, New Delhi",
    u"(GMT+05:30) Sri Jayawardenepura",
    u"(GMT+05:45) Kathmandu",
    u"(GMT+06:00) Almaty, Novosibirsk",
    u"(GMT+06:00) Astana, Dhaka",
    u"(GMT+06:30) Yangon (Rangoon)",
    u"(GMT+07:00) Bangkok, Hanoi, Jakarta",
    u"(GMT+07:00) Krasnoyarsk",
    u"(GMT+08:00) Beijing, Chongqing, Hong Kong, Urumqi",
    u"(GMT+08:00) Irkutsk, Ulaan Bataar",
    u"(GMT+08:00) Kuala Lumpur, Singapore",
    u"(GMT+08:00) Perth",
    u"(GMT+08:00) Taipei",
    u"(GMT+09:00) Seoul",
    u"(GMT+09:00) Osaka, Sapporo, Tokyo",
    u"(GMT+09:00) Yakutsk",
    u"(GMT+09:30) Adelaide",
    u"(GMT+09:30) Darwin",
    u"(GMT+10:00) Brisbane",
    u"(GMT+10:00) Canberra, Melbourne, Sydney",
    u"(GMT+10:00) Guam, Port Moresby",
    u"(GMT+10:00) Hobart",
    u"(GMT+10:00) Vladivostok",
    u"(GMT+11:00) Magadan, Solomon Is., New Caledonia",
    u"(GMT+12:00) Auckland, Wellington",
    u"(GMT+12:00) Fiji, Marshall Is.",
    u"(GMT+12:00) Petropavlovsk-Kamchatsky",
    u"(GMT+13:00) Nuku'alofa",
};

} // namespace

QString TimeZoneName(int index)
{
    if (index < 0 || index >= kTimeZoneCount)
        return QString();
    return QString::fromUtf16(kTimeZoneNames[static_cast<size_t>(index)]);
}

int DefaultTimeZoneIndex(int countryCode)
{
    switch (countryCode) {
    case 82: // Korea: Seoul
        return 76;
    case 61: // Australia: Canberra, Melbourne, Sydney
        return 82;
    case 81: // Japan: Osaka, Sapporo, Tokyo
        return 77;
    default: // Kuala Lumpur, Singapore
        return 73;
    }
}
