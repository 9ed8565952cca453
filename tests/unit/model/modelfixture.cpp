#include "modelfixture.h"

void ModelTest::SetUp()
{
    ASSERT_TRUE(inst.isValid());
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    // The model is driven here the way keyvane-cli drives it: as the
    // database's administrator. The level tests log in as someone else.
    server.Abre_Sesion_Consola();
}

std::unique_ptr<ZARVSistema> ModelTest::Abre(int code)
{
    auto s = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(code), &server);
    s->Crea_Colecciones();
    return s;
}
