#include "modelfixture.h"

void ModelTest::SetUp()
{
    ASSERT_TRUE(inst.isValid());
    server.Configurar(kv::test::cuentaServidor().host, inst.mainDatabase(), kv::test::cuentaServidor().password,
                      kv::test::cuentaServidor().usuario);
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
