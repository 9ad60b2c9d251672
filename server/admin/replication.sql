-- What the central office sees of its standbys.

-- Each standby the primary streams to: its state, whether a commit waits for it ("sync") and
-- how far behind it replays. With no synchronous standby, one row says that the primary goes on
-- alone: a sale confirmed to a counter from then on lives on this machine only until a standby
-- is back and has caught up.
CREATE FUNCTION admin.replicacion()
RETURNS TABLE (replica text, estado text, sincronia text, retraso text)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = central, pg_temp AS $$
BEGIN
    RETURN QUERY
        SELECT r.application_name::text, r.state::text, r.sync_state::text,
               coalesce(r.replay_lag::text, '0')
        FROM pg_stat_replication r
        UNION ALL
        SELECT 'ninguna', 'sin réplica sincrónica: el primario sigue solo', '-', '-'
        WHERE NOT EXISTS (SELECT FROM pg_stat_replication r
                          WHERE r.sync_state IN ('sync', 'quorum'));
END
$$;
