#include "CableInstructions.h"

#include <QStringList>

namespace quillon {

QString strCableHeading()
{
    return QStringLiteral("Herstellung einen seriellen Kabels um einen PC mit einer EMCO Maschine zu verbinden");
}

const std::vector<CableBlock>& cableBlocks()
{
    using C = CableBlock::Colour;
    static const std::vector<CableBlock> blocks = {
        {C::Blue, QStringLiteral("Sie benötigen folgendes:")},
        {C::Black, QStringLiteral("1. Ein Stück geschirmtes 4-adriges Kabel\r\n"
                                  "      (es kann bis zu 15 Meter lang sein).\r\n"
                                  "2. Einen 9-Pin SUB-D Stecker für den PC COM-Port.\r\n"
                                  "3. Einen EMCO 12-Pin Stecker.\r\n")},
        {C::Blue, QStringLiteral("Stellen Sie folgende Verbindungen im SUB-D Stecker her:")},
        {C::Black, QStringLiteral("1. Pin 1 (CD) mit Pin 4 (DTR) verbinden\r\n"
                                  "2. Pin 7 (RTS), Pin 8 (CTS) & Pin 9 (RI) miteinander verbinden.\r\n")},
        {C::Blue, QStringLiteral("Stellen Sie folgende Verbindungen im EMCO Stecker her:")},
        {C::Black, QStringLiteral("   Verbinden Sie Pin G, H & J miteinander.\r\n")},
        {C::Red, QStringLiteral("Stellen Sie sicher das Sie das Steckergehäuse über das Kabel geschoben haben\r\n"
                                "Bevor Sie den nächsten Schritt ausführen!\r\n")},
        {C::Blue, QStringLiteral("Verbinden Sie die Leitungen folgendermaßen:")},
        {C::Black, QStringLiteral("1. EMCO Stecker Pin A zu Pin 4 (DTR).\r\n"
                                  "2. EMCO Stecker Pin B zu Pin 2 (RD).\r\n"
                                  "3. EMCO Stecker Pin C zu Pin 5 (GND).\r\n"
                                  "4. EMCO Stecker Pin D zu Pin 6 (DSR).\r\n")},
        {C::Blue, QStringLiteral("Schließen Sie das Steckergehäuse, achten Sie auf die Zugentlastung.\r\n")},
        {C::Blue, QStringLiteral("Kennzeichnen Sie das Kabel an einem Ende.\r\n")},
        {C::Red, QStringLiteral("Testen Sie das Kabel indem Sie Quillon benutzen.\r\n")},
    };
    return blocks;
}

std::vector<PrintLine> cablePrintLines()
{
    std::vector<PrintLine> lines = {{QString(), 14}, {strCableHeading(), 14}, {QString(), 14}};
    for (const CableBlock& block : cableBlocks()) {
        QString text = block.text;
        if (text.endsWith(QLatin1String("\r\n")))
            text.chop(2);
        const QStringList pieces = text.split(QStringLiteral("\r\n"));
        for (const QString& piece : pieces)
            lines.push_back({piece, 12});
        lines.push_back({QString(), 12});
    }
    return lines;
}

}  // namespace quillon
