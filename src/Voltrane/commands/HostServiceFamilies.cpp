#include "commands/HostServiceFamilies.h"

#include "commands/HostServiceDispatch.h"

void InstallHostServiceFamilies(CCadSysCmd& services)
{
    // The families keep no state of their own, so one set serves every host-service object.
    static CCadSysCmdView view;
    static CCadSysCmdDrawing drawing;
    static CCadSysCmdFont font;
    static CCadSysCmdDb db;
    static CCadSysCmdPbox pbox;
    static CCadSysCmdPage page;
    static CCadSysCmdConfig config;
    services.SetFamily(CCadSysCmd::kViewMessages, &view);
    services.SetFamily(CCadSysCmd::kDrawingMessages, &drawing);
    services.SetFamily(CCadSysCmd::kFontMessages, &font);
    services.SetFamily(CCadSysCmd::kDatabaseMember, &db);
    services.SetFamily(CCadSysCmd::kPboxMember, &pbox);
    services.SetFamily(CCadSysCmd::kPageMember, &page);
    services.SetFamily(CCadSysCmd::kConfigMember, &config);
}
