#include "DrivFlex.h"
#include "Comando.h"
#include "TValorMultiple.h"

#include <gtest/gtest.h>

namespace {

// A driver that registers service 800 and answers command 10003 with one text row.
class DriverDePrueba : public DrivFlex {
public:
    DriverDePrueba() { EntrarServicio(800, "Imprimir", "Nos Imprime la grafica", 1, 1); }
    int servicios = 0;
    int ultimoServicio = 0;
    int EjecutarServicio(int numero) override {
        ++servicios;
        ultimoServicio = numero;
        return 5;
    }

protected:
    int AtenderComando(Comando* c, TValorMultiple* respuesta, int, ObjGen*) override {
        if (c->Numero() != 10003 || respuesta == nullptr)
            return -1;
        respuesta->EntrarTexto("V");
        return 1;
    }
};

TEST(ProgComRouting, ServicesGoToEjecutarServicioOtherCommandsAppendTheirAnswer) {
    DriverDePrueba d;
    Comando servicio(800);
    TValorMultiple r;
    r.EntrarEnteros({1});
    EXPECT_EQ(d.ProgCom(&servicio, &r, 0, nullptr), 5);
    EXPECT_EQ(d.servicios, 1);
    EXPECT_EQ(d.ultimoServicio, 800);
    Comando c(10003);
    EXPECT_EQ(d.ProgCom(&c, &r, 0, nullptr), 1);
    ASSERT_EQ(r.Cuenta(), 2);
    EXPECT_EQ(r.Texto(1), "V");
    EXPECT_EQ(d.servicios, 1);
    Comando desconocido(12345);
    EXPECT_EQ(d.ProgCom(&desconocido, &r, 0, nullptr), -1);
    EXPECT_EQ(d.ProgCom(nullptr, &r, 0, nullptr), -1);

    // Services are registered once by number; the later registration wins.
    d.EntrarServicio(800, "Imprimir", "otra", 1, 1);
    EXPECT_EQ(d.Servicios().size(), 1u);
    EXPECT_EQ(d.DameServicio(800)->descripcion, "otra");
}

TEST(ReferenceCounting, DecRefReportsTheLastReferenceAndHandlesDieWithTheObject) {
    const int vivos = ObjGen::ObjetosVivos();
    auto* d = new DriverDePrueba;
    const std::int32_t h = d->Manejador();
    EXPECT_GT(h, 0);
    EXPECT_EQ(ObjGen::DesdeManejador(h), d);
    EXPECT_EQ(d->Referencias(), 1);
    EXPECT_EQ(d->IncRef(), d);
    EXPECT_EQ(d->DecRef(), 0);
    EXPECT_EQ(d->DecRef(), 1);
    EXPECT_EQ(ObjGen::ObjetosVivos(), vivos + 1);
    delete d;
    EXPECT_EQ(ObjGen::ObjetosVivos(), vivos);
    for (std::int32_t muerto : {h, 0, -1})
        EXPECT_EQ(ObjGen::DesdeManejador(muerto), nullptr);
}

TEST(PageModel, PagesAndPropertiesWithOptions) {
    DriverDePrueba d;
    auto* t = new Tabla;
    t->EntrarPagina("General", 2, 5, true);
    const char* opciones[] = {"Months", "Weeks"};
    t->EntrarPropiedad(0, 1, 1, 0, "Description", 0, 0, 0, 0, nullptr);
    t->EntrarPropiedad(1, 1, 1, 0, "Group by", 0, 0, 0, 2, opciones);
    t->EntrarPropiedad(7, 1, 1, 0, "ignored", 0, 0, 0, 0, nullptr);
    EXPECT_EQ(d.AddTabla(t), 0);
    auto* fuentes = new Tabla;
    fuentes->EntrarPagina("Files", 1, 4, false);
    EXPECT_EQ(d.AddTabla(fuentes), 1);

    EXPECT_EQ(d.GetPageCat(1), 4);
    EXPECT_FALSE(d.GetPageVisibility(1));
    EXPECT_EQ(d.GetPropertyNumber(0), 2); // the property past the count is ignored
    EXPECT_EQ(d.GetPropertyOptionsNumber(0, 1), 2);
    EXPECT_STREQ(d.GetPropertyOption(0, 1, 1), "Weeks");
    EXPECT_STREQ(d.GetPropertyOption(0, 1, 2), "");
    EXPECT_STREQ(d.GetPageName(5), "");
    EXPECT_EQ(d.GetPropertyNumber(-1), 0);
    int v = 0;
    d.GetPropertyValue(0, 0, &v);
    EXPECT_EQ(v, -1);

    d.DeleteTabla(9);
    d.DeleteTabla(0);
    EXPECT_STREQ(d.GetPageName(0), "Files");
}

} // namespace
