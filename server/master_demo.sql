INSERT INTO central.nombres_servidor (nombre, direccion) VALUES
    ('central', '127.0.0.1'),
    ('kalvora-demo', '127.0.0.1');
