#include "modelfixture.h"

void ModelTest::SetUp()
{
    ASSERT_TRUE(inst.isValid());
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
}

std::unique_ptr<ZARVSistema> ModelTest::Abre(int code)
{
    auto s = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(code), &server);
    s->Crea_Colecciones();
    return s;
}
