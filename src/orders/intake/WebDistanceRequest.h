#pragma once

#include <QByteArray>
#include <QString>

class SettingsStore;

// The outside-address area of step 1, as "Прорахувати" sends it.
struct WebDistancePlaces
{
    QString startPlace;
    QString startHouse;
    bool startMyCity = false; // "дані мого міста"
    QString destinationPlace;
    QString destinationHouse;
    bool destinationMyCity = false;
};

// Where the distance service is reached, from the settings (TARIF.INI, SET_WEB_VIDSTAN).
// The service's fixed address of old answers no more, so every part of it is a setting.
struct WebDistanceEndpoint
{
    enum class Scheme { Http, Https };
    static constexpr int kDefaultTimeoutMs = 10000;

    Scheme scheme = Scheme::Http;
    QString host;
    quint16 port = 80;
    QString path;
    QString hostHeader; // none is sent when empty
    QString apiKey;     // no key parameter when empty
    int timeoutMs = kDefaultTimeoutMs;

    static WebDistanceEndpoint fromSettings(const SettingsStore& settings);
};

// The request text sent to the distance service.
class WebDistanceRequest
{
public:
    // The text of one end: with "дані мого міста" ticked the own city, the place and the
    // house, each after a blank; otherwise the place as typed.
    static QString placeText(const QString& myCity, const QString& place, const QString& house,
                             bool myCityTicked);
    // The UTF-8 bytes of a text, a blank as "+", letters, digits and "_" as they are and
    // every other byte as "%" and two upper-case hexadecimal digits.
    static QByteArray encoded(const QString& text);
    // "GET " path "?origins=…&destinations=…&mode=driving&language=uk-UK&sensor=false"
    // " HTTP/1.0" and two LF; with a key "&key=…" before " HTTP/1.0", and with a Host
    // header the lines end in CR LF.
    static QByteArray text(const WebDistanceEndpoint& endpoint, const QString& origin,
                           const QString& destination);
};
