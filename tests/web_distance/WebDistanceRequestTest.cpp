#include "orders/intake/WebDistanceRequest.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "orders/intake/TarifIniLoader.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

namespace {

WebDistanceEndpoint endpointOf(const QString& tarifIni)
{
    SettingsStore store;
    TarifIniLoader::load(IniFile::fromBytes(*cp1251::encode(tarifIni)), store);
    return WebDistanceEndpoint::fromSettings(store);
}

} // namespace

TEST(WebDistanceRequestText, CyrillicBecomesUtf8EscapesAndBlanksPlus)
{
    // My city ticked: the city, a blank, the street, a blank and the house.
    const QString origin = WebDistanceRequest::placeText(
        QStringLiteral("Луцьк"), QStringLiteral("Соборності"), QStringLiteral("5"), true);
    EXPECT_EQ(origin, QStringLiteral("Луцьк Соборності 5"));
    EXPECT_EQ(
        WebDistanceRequest::encoded(origin),
        QByteArray("%D0%9B%D1%83%D1%86%D1%8C%D0%BA+%D0%A1%D0%BE%D0%B1%D0%BE%D1%80%D0%BD%D0%BE%D1%81%D1%82"
                   "%D1%96+5"));
    // Only letters, digits and "_" stay; everything else is escaped, "%" itself too.
    EXPECT_EQ(WebDistanceRequest::encoded(QStringLiteral("a_Z9-.~*'%&=+/ ")),
              QByteArray("a_Z9%2D%2E%7E%2A%27%25%26%3D%2B%2F+"));
    // "ї", "є" and the apostrophe of Ukrainian names.
    EXPECT_EQ(WebDistanceRequest::encoded(QStringLiteral("Їжакевича’є")),
              QByteArray("%D0%87%D0%B6%D0%B0%D0%BA%D0%B5%D0%B2%D0%B8%D1%87%D0%B0%E2%80%99%D1%94"));
    // Without my city the place goes as typed and its house box is not read.
    EXPECT_EQ(WebDistanceRequest::placeText(QStringLiteral("Луцьк"), QStringLiteral("с. Липне "),
                                            QStringLiteral("12"), false),
              QStringLiteral("с. Липне "));
}

TEST(WebDistanceRequestText, TheDefaultIsTheBareRequestLineAndSettingsAddHostAndKey)
{
    WebDistanceEndpoint endpoint = endpointOf(QString());
    EXPECT_EQ(
        WebDistanceRequest::text(endpoint, QStringLiteral("Ковель"), QStringLiteral("Рівне")),
        QByteArray("GET /maps/api/distancematrix/xml?origins=%D0%9A%D0%BE%D0%B2%D0%B5%D0%BB%D1%8C"
                   "&destinations=%D0%A0%D1%96%D0%B2%D0%BD%D0%B5&mode=driving&language=uk-UK&sensor=false"
                   " HTTP/1.0\n\n"));

    endpoint.hostHeader = QStringLiteral("maps.example.net");
    endpoint.apiKey = QStringLiteral("k-1/2");
    endpoint.path = QStringLiteral("/dm/xml?client=taxi");
    EXPECT_EQ(WebDistanceRequest::text(endpoint, QStringLiteral("A"), QStringLiteral("B")),
              QByteArray("GET /dm/xml?client=taxi&origins=A&destinations=B&mode=driving&language=uk-UK"
                         "&sensor=false&key=k%2D1%2F2 HTTP/1.0\r\nHost: maps.example.net\r\n\r\n"));
}

TEST(WebDistanceRequestSettings, DefaultsAndTheSettingsOfTarifIni)
{
    WebDistanceEndpoint endpoint = endpointOf(QString());
    EXPECT_EQ(endpoint.scheme, WebDistanceEndpoint::Scheme::Http);
    EXPECT_EQ(endpoint.host, QStringLiteral("maps.googleapis.com"));
    EXPECT_EQ(endpoint.port, 80);
    EXPECT_EQ(endpoint.path, QStringLiteral("/maps/api/distancematrix/xml"));
    EXPECT_TRUE(endpoint.hostHeader.isEmpty());
    EXPECT_TRUE(endpoint.apiKey.isEmpty());
    EXPECT_EQ(endpoint.timeoutMs, 10000);

    endpoint = endpointOf(QStringLiteral("[SET_WEB_VIDSTAN]\r\nSCHEME=HTTPS\r\nHOST= dm.example.net \r\n"
                                         "PATH=xml\r\nAPI_KEY=secret\r\nTIMEOUT_MS=250\r\n"
                                         "HOST_HEADER=dm.example.net\r\n"));
    EXPECT_EQ(endpoint.scheme, WebDistanceEndpoint::Scheme::Https);
    EXPECT_EQ(endpoint.host, QStringLiteral("dm.example.net"));
    EXPECT_EQ(endpoint.port, 443); // the scheme's own port
    EXPECT_EQ(endpoint.path, QStringLiteral("/xml"));
    EXPECT_EQ(endpoint.apiKey, QStringLiteral("secret"));
    EXPECT_EQ(endpoint.timeoutMs, 250);
    EXPECT_EQ(endpoint.hostHeader, QStringLiteral("dm.example.net"));

    const std::pair<const char*, int> ports[] = {
        {"8080", 8080}, {"0", 80}, {"70000", 80}, {"-1", 80}, {"x", 80}};
    for (const auto& [written, expected] : ports)
        EXPECT_EQ(
            endpointOf(QStringLiteral("[SET_WEB_VIDSTAN]\r\nPORT=%1\r\n").arg(QLatin1String(written))).port,
            expected)
            << written;
    EXPECT_EQ(endpointOf(QStringLiteral("[SET_WEB_VIDSTAN]\r\nTIMEOUT_MS=0\r\n")).timeoutMs, 10000);

    // A Host header or path set in the settings window never breaks the request's lines.
    SettingsStore store;
    store.setValue(SettingsStore::kServerGroup, SettingKeys::kWebDistanceHostHeader,
                   QStringLiteral("good.example\r\nX-Evil: 1"));
    store.setValue(SettingsStore::kServerGroup, SettingKeys::kWebDistancePath, QStringLiteral("/a b\n/c"));
    endpoint = WebDistanceEndpoint::fromSettings(store);
    const QByteArray text = WebDistanceRequest::text(endpoint, QStringLiteral("A"), QStringLiteral("B"));
    EXPECT_EQ(text.count("\r\n"), 3) << text.constData();
    EXPECT_TRUE(text.startsWith("GET /ab/c?origins=A")) << text.constData();
}
