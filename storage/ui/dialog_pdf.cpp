#include "app/ui/dialog.h"

#include "app/ui/message_box.h"

// Placeholder binding until our PDF libraries exist: both report themselves
// missing and stay unbound for the run.
void Dialog::LoadPdfRenderer()
{
    m_pdfRendererBound = false;
    ui::CriticalBox(this, QString(), QStringLiteral("cannot load render module"));
}

void Dialog::LoadPdfExporter()
{
    m_pdfExporterBound = false;
    ui::CriticalBox(this, QString(), QStringLiteral("cannot load exporter module"));
}
